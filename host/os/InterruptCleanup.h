#pragma once
// What an interrupted run leaves behind: SIGINT, SIGTERM and SIGHUP remove the
// temporary file being written, say which outputs were finished, and then end
// the program as the signal would have.
#include <signal.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessera::app {

// Holds the three signals back for its lifetime, so that a file and the
// record of it change together: a signal between them would leave a temporary
// file nobody removes, or a finished output left out of the report.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t saved_;
};

// Installs the handlers once; a signal that was ignored (nohup) stays ignored.
void WatchInterrupts();
// What else an interrupt reports, set by whoever reports it (the JSON report
// of --json): each finished output as it is noted, and the end, from the
// signal handler. Both must be safe to call there; null for nothing.
struct InterruptReport {
    void (*noteOutput)(const std::string& path, const std::vector<int>& pages) = nullptr;
    void (*write)(int signal) = nullptr;
};
void SetInterruptReport(InterruptReport report);
// The temporary file of `target` now being written; an empty `temporary` when none is.
void SetPendingOutput(const std::string& temporary, const std::string& target);
// The copy of an input read from standard input, and the folder made for it,
// removed by a signal too; empty when there is none.
void SetInputCopy(const std::string& file, const std::string& folder);
// An output complete under its final name, with the input's pages it holds
// (1-based, in its order) and its place among the run's outputs.
struct FinishedOutput {
    std::string path;
    std::vector<int> pages;
    std::uint64_t order = 0;
};
// `output` is complete under its final name.
void NoteFinishedOutput(FinishedOutput output);
// The outputs this process noted finished.
std::uint64_t FinishedCount();

// In a worker process: a signal removes the temporary file and ends the
// worker without a report, which is its parent's to give.
void BecomeWorker();
bool IsWorker();
// In a worker: the outputs finished since the last call.
std::vector<FinishedOutput> TakeFinishedOutputs();
// In the parent of workers: a signal is passed on to these processes, and
// the report waits until they have removed their temporary files. Up to 64.
void SetWorkerProcesses(const std::vector<pid_t>& workers);

// A worker holds the signals from the rename of its output until its parent
// has the report of it, so that no output is whole on disk and left out of
// the parent's count.
void HoldInterruptsUntilReported();
void ReleaseInterrupts();

// In the parent, while the workers' reports are taken in: a signal is passed
// on to the workers and only noted, so that the reports they still send are
// counted before the run ends. The signal noted, or 0.
class InterruptsDeferred {
public:
    InterruptsDeferred();
    ~InterruptsDeferred();
    InterruptsDeferred(const InterruptsDeferred&) = delete;
    InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};
int DeferredInterrupt();
// Says what was finished and ends the program as the signal would have.
[[noreturn]] void EndInterrupted(int signal);
// The run is over and said: from here on the three signals are held, so that
// one arriving while the program's objects are destroyed (a watcher ending
// its splits, a late Ctrl-C) neither reports a finished run interrupted nor
// runs the handler over objects already gone. The program exits as it would.
void HoldInterruptsForExit();

}  // namespace tessera::app
