#pragma once
// A failed input's reason, kept beside it as NAME.error.json: for the person
// who looks into the folder, and so that the watcher does not split it again
// until it changes.
#include <string>

#include "watch/SettleTracker.h"

namespace tessera::app {

std::string FailureNotePath(const std::string& input);
// Written through a temporary file renamed into place; false when it cannot be.
bool WriteFailureNote(const std::string& input, const FileLook& look, const std::string& reason, int exitStatus);
// Whether `input`'s note is there and was written for the file as it is now.
bool FailureNoteMatches(const std::string& input, const FileLook& look);

}  // namespace tessera::app
