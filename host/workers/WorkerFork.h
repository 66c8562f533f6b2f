#pragma once
// The birth of a worker process: a copy of this one with its own place in
// every file it reads, talking to its parent over a stream socket, ended by
// a signal its parent passes on, and by its parent's end.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <vector>

#include "workers/OwnFileOffsets.h"

namespace tessera::app {

struct ForkedWorker {
    pid_t pid;
    int socket;  // the parent's end
};

// Before a parent forks: its buffered output flushed, so that no child writes
// it out again, and the files it reads listed for each child to reopen.
OwnFileOffsets PrepareToFork();
// Waits until the worker, whose socket the parent has closed, has ended.
void AwaitWorker(pid_t pid);

// In the child, closes `parentSockets` and runs `main` with its end of the
// socket, never returning. In the parent, calls `born` with the child's pid
// while no signal can come between, and returns the worker; none when no
// process could be made.
std::optional<ForkedWorker> ForkWorker(const OwnFileOffsets& files, const std::vector<int>& parentSockets,
                                       const std::function<void(pid_t)>& born, const std::function<void(int)>& main);

}  // namespace tessera::app
