#include "os/InterruptCleanup.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tessera::app {
namespace {

InterruptReport g_report;  // set before the handlers can run

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the handler, so fixed buffers only, changed with the signals blocked.
struct Pending {
    char temporary[4096] = "";
    char report[8448] = "";
    std::size_t reportLength = 0;
    unsigned long finished = 0;
    char lastFinished[4096] = "";  // the finished output that comes last in the run's order
    std::uint64_t lastOrder = 0;
    char inputCopy[4096] = "";  // the input read from standard input, and its folder
    char inputFolder[4096] = "";
    pid_t workers[64] = {};
    std::size_t workerCount = 0;
    bool deferring = false;
    volatile sig_atomic_t deferred = 0;
};
Pending pending;
bool isWorker = false;
std::vector<FinishedOutput> finishedInWorker;  // never read by the handler

void Copy(char (&to)[4096], const std::string& from) { std::snprintf(to, sizeof to, "%s", from.c_str()); }

// Composed ahead, as the handler may only write it out.
void ComposeReport(const std::string& target) {
    if (target.empty())
        std::snprintf(pending.report, sizeof pending.report, "tessera: interrupted. ");
    else
        std::snprintf(pending.report, sizeof pending.report,
                      "tessera: interrupted; %s was not finished and was removed. ", target.c_str());
    const std::size_t used = std::strlen(pending.report);
    char* rest = pending.report + used;
    const std::size_t room = sizeof pending.report - used;
    if (pending.finished == 0)
        std::snprintf(rest, room, "No output was finished.\n");
    else if (pending.finished == 1)
        std::snprintf(rest, room, "1 output was finished: %s\n", pending.lastFinished);
    else
        std::snprintf(rest, room, "%lu outputs were finished, the last of them %s\n", pending.finished,
                      pending.lastFinished);
    pending.reportLength = std::strlen(pending.report);
}

void BlockSignals(int how) {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    pthread_sigmask(how, &set, nullptr);
}

extern "C" void OnInterrupt(int signal) {
    for (std::size_t i = 0; i < pending.workerCount; ++i) ::kill(pending.workers[i], signal);
    if (pending.deferring) {
        pending.deferred = signal;
        return;
    }
    if (pending.temporary[0] != '\0') ::unlink(pending.temporary);
    for (std::size_t i = 0; i < pending.workerCount; ++i) ::waitpid(pending.workers[i], nullptr, 0);
    if (pending.inputCopy[0] != '\0') ::unlink(pending.inputCopy), ::rmdir(pending.inputFolder);
    if (!isWorker && g_report.write) g_report.write(signal);
    const ssize_t ignored = ::write(STDERR_FILENO, pending.report, pending.reportLength);
    (void)ignored;
    ::raise(signal);  // the handler was reset: the default action ends the program
}

}  // namespace

void HoldInterruptsForExit() { BlockSignals(SIG_BLOCK); }

InterruptsHeld::InterruptsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, &saved_);
}

InterruptsHeld::~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

void SetInterruptReport(InterruptReport report) { g_report = report; }

void WatchInterrupts() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    ComposeReport("");
    // A file size limit (ulimit -f) then fails the write that passes it, as
    // a full disk does, with its message and the temporary file removed,
    // rather than ending the program with the file half-written.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
    for (int s : kSignals) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals) sigaddset(&action.sa_mask, other);
        action.sa_flags = SA_RESETHAND;
        sigaction(s, &action, nullptr);
    }
}

void SetPendingOutput(const std::string& temporary, const std::string& target) {
    const InterruptsHeld held;
    Copy(pending.temporary, temporary);
    if (!isWorker) ComposeReport(temporary.empty() ? "" : target);
}

void SetInputCopy(const std::string& file, const std::string& folder) {
    const InterruptsHeld held;
    Copy(pending.inputCopy, file);
    Copy(pending.inputFolder, folder);
}

void NoteFinishedOutput(FinishedOutput output) {
    const InterruptsHeld held;
    pending.temporary[0] = '\0';
    if (isWorker) return finishedInWorker.push_back(std::move(output));
    // Workers finish out of order: the report names the last in the run's order.
    if (pending.finished == 0 || output.order >= pending.lastOrder) {
        pending.lastOrder = output.order;
        Copy(pending.lastFinished, output.path);
    }
    ++pending.finished;
    if (g_report.noteOutput) g_report.noteOutput(output.path, output.pages);
    ComposeReport("");
}

std::uint64_t FinishedCount() { return pending.finished; }

bool IsWorker() { return isWorker; }

void BecomeWorker() {
    const InterruptsHeld held;
    isWorker = true;
    pending.inputCopy[0] = '\0';  // the parent's to remove, which may still read it
    pending.deferring = false;
    pending.workerCount = 0;
    pending.reportLength = 0;
}

void HoldInterruptsUntilReported() {
    if (isWorker) BlockSignals(SIG_BLOCK);
}

void ReleaseInterrupts() { BlockSignals(SIG_UNBLOCK); }

InterruptsDeferred::InterruptsDeferred() {
    const InterruptsHeld held;
    pending.deferring = true;
}

InterruptsDeferred::~InterruptsDeferred() {
    const InterruptsHeld held;
    pending.deferring = false;
}

int DeferredInterrupt() { return pending.deferred; }

void EndInterrupted(int signal) {
    BlockSignals(SIG_BLOCK);
    pending.deferring = false;
    pending.deferred = 0;
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    OnInterrupt(signal);        // no worker is left: it removes, reports and raises
    BlockSignals(SIG_UNBLOCK);  // the raised signal now ends the program
    std::_Exit(128 + signal);
}

std::vector<FinishedOutput> TakeFinishedOutputs() { return std::exchange(finishedInWorker, {}); }

void SetWorkerProcesses(const std::vector<pid_t>& workers) {
    const InterruptsHeld held;
    pending.workerCount = std::min(workers.size(), std::size(pending.workers));
    std::copy_n(workers.begin(), pending.workerCount, pending.workers);
}

}  // namespace tessera::app
