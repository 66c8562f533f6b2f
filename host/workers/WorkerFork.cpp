#include "workers/WorkerFork.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "os/InterruptCleanup.h"

namespace tessera::app {

OwnFileOffsets PrepareToFork() {
    OwnFileOffsets files;
    std::fflush(nullptr);
    std::cout.flush();
    std::cerr.flush();
    return files;
}

void AwaitWorker(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

std::optional<ForkedWorker> ForkWorker(const OwnFileOffsets& files, const std::vector<int>& parentSockets,
                                       const std::function<void(pid_t)>& born, const std::function<void(int)>& main) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return std::nullopt;
    const pid_t parent = ::getpid();
    pid_t pid = -1;
    {
        const InterruptsHeld held;  // a signal now finds the worker known to the parent, or not yet born
        pid = ::fork();
        if (pid == 0) BecomeWorker();
        if (pid > 0) born(pid);
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent || !files.Reopen()) ::_exit(1);
        for (const int socket : parentSockets) ::close(socket);
        ::close(ends[0]);
        main(ends[1]);
        ::_exit(0);  // the parent's buffers and objects are the parent's to flush and free
    }
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        return std::nullopt;
    }
    return ForkedWorker{pid, ends[0]};
}

}  // namespace tessera::app
