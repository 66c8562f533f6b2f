#pragma once
// A worker process writes its output while outputs before it may still fail,
// and a run that fails stops where a run in order would have stopped. So a
// worker does not replace a file that is already there until its parent
// knows every output before it was written; a file the run never got to is
// then left as it was, not replaced and removed.
#include <functional>
#include <string>

namespace tessera::app {

// In a worker: asks the parent, and waits for its answer.
void SetReplacementGate(std::function<bool()> mayReplace);
// True where nothing is at target, or no gate is set, or the gate opens.
bool MayReplace(const std::string& target);

}  // namespace tessera::app
