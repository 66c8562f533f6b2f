#pragma once
// What an interrupted run leaves behind: SIGINT, SIGTERM and SIGHUP remove the
// temporary file being written, say which outputs were finished, and then end
// the program as the signal would have.
#include <string>

namespace tessera::pdf {

// Installs the handlers once; a signal that was ignored (nohup) stays ignored.
void WatchInterrupts();
// The temporary file of `target` now being written; an empty `temporary` when none is.
void SetPendingOutput(const std::string& temporary, const std::string& target);
// `target` is complete under its final name.
void NoteFinishedOutput(const std::string& target);

}  // namespace tessera::pdf
