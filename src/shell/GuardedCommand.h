#pragma once
// Where a command's host errors end. A command's steps let host errors pass;
// only a step with a follow-up message of its own stops one (Guarded).
namespace tessera {

// Runs the command's steps; a host error that reaches here shows the host's
// text, then the command's follow-up text when it has one, and the command
// fails.
void RunGuardedCommand(void (*steps)(), const char* followUpKey = nullptr);

}  // namespace tessera
