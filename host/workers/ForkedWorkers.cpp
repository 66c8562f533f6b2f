#include "workers/ForkedWorkers.h"

#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "os/ReplacementGate.h"
#include "workers/ForkedHelper.h"
#include "workers/OwnFileOffsets.h"
#include "workers/WorkerFork.h"

namespace tessera::app {
namespace {

constexpr unsigned kMostWorkers = 64;  // as many as an interrupt can pass a signal on to

using Task = std::function<int(std::size_t)>;

// A text task's outcome, on its way: set by the task where it runs, sent with
// its report from a worker, and set again from the report here before it is
// accepted. The parent takes reports one at a time, on one thread.
std::string& TaskText() {
    static std::string text;
    return text;
}

// One task in the worker: its outcome, with what it showed and wrote.
TaskReport RunOne(std::uint64_t index, const Task& task, ConsoleViewer& viewer) {
    TaskReport report;
    report.index = index;
    viewer.RelayAlerts(&report.alerts);
    TaskText().clear();
    try {
        report.outcome = task(static_cast<std::size_t>(index));
        report.text = std::move(TaskText());
    } catch (...) {
        report.returned = false;  // the task runs again in the parent, which throws as it did
    }
    viewer.RelayAlerts(nullptr);
    report.finished = TakeFinishedOutputs();
    return report;
}

// The answers to a worker that asks to replace a file.
constexpr std::uint64_t kMayNotReplace = 0, kMayReplace = 1;

bool AskToReplace(int socket) {
    TaskReport ask;
    ask.asksToReplace = true;
    std::uint64_t answer = kMayNotReplace;
    return ask.Send(socket) && ReceiveAll(socket, &answer, sizeof answer) && answer == kMayReplace;
}

void WorkerMain(int socket, const Task& task, ConsoleViewer& viewer) {
    SetReplacementGate([socket] { return AskToReplace(socket); });
    for (std::uint64_t index = 0; ReceiveAll(socket, &index, sizeof index);) {
        const bool sent = RunOne(index, task, viewer).Send(socket);
        ReleaseInterrupts();  // held from the rename of an output until the parent has its report
        if (!sent) break;
    }
}

// The workers of one run; waits for all of them when it ends.
class WorkerPool {
public:
    WorkerPool(unsigned count, const Task& task, ConsoleViewer& viewer) {
        const OwnFileOffsets files = PrepareToFork();
        for (unsigned i = 0; i < count; ++i) Start(files, task, viewer);  // none: the tasks run in order here
    }
    ~WorkerPool() {
        for (Worker& w : workers_) ::close(w.socket);
        for (Worker& w : workers_) AwaitWorker(w.pid);
        SetWorkerProcesses({});
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Whether a task is out, or the loss of a worker not yet reported.
    bool Busy() const {
        return std::any_of(workers_.begin(), workers_.end(), [](const Worker& w) { return w.busy || w.lostReport; });
    }
    // Gives task `index` to an idle worker; false when none is.
    bool Give(std::uint64_t index) {
        for (Worker& w : workers_) {
            if (w.busy || w.lost) continue;
            w.busy = true;
            w.task = index;
            if (!SendAll(w.socket, &index, sizeof index)) Lose(w);
            return true;
        }
        return false;
    }
    // Tells the worker with `task` whether it may replace a file.
    void Answer(std::uint64_t task, bool mayReplace) {
        const std::uint64_t answer = mayReplace ? kMayReplace : kMayNotReplace;
        for (Worker& w : workers_)
            if (w.busy && w.task == task && !SendAll(w.socket, &answer, sizeof answer)) Lose(w);
    }
    // Waits for the next task to end, or to ask, in any worker.
    TaskReport Collect() {
        for (;;) {
            for (Worker& w : workers_)
                if (w.lostReport) return std::exchange(w.lostReport, std::nullopt).value();
            std::vector<pollfd> polled;
            for (const Worker& w : workers_)
                if (w.busy) polled.push_back({w.socket, POLLIN, 0});
            if (::poll(polled.data(), polled.size(), -1) < 0) continue;  // EINTR
            for (const pollfd& p : polled)
                if (p.revents) return Receive(ByPollable(p.fd));
        }
    }

private:
    struct Worker {
        pid_t pid;
        int socket;
        bool busy = false;
        bool lost = false;
        std::uint64_t task = 0;
        std::optional<TaskReport> lostReport;
    };

    void Start(const OwnFileOffsets& files, const Task& task, ConsoleViewer& viewer) {
        std::vector<int> sockets;
        for (const Worker& w : workers_) sockets.push_back(w.socket);
        const std::optional<ForkedWorker> worker = ForkWorker(
            files, sockets,
            [&](pid_t pid) {
                workers_.push_back({pid, -1, false, false, 0, std::nullopt});
                SetWorkerProcesses(Pids());
            },
            [&](int socket) { WorkerMain(socket, task, viewer); });
        if (worker) workers_.back().socket = worker->socket;
    }

    std::vector<pid_t> Pids() const {
        std::vector<pid_t> pids;
        for (const Worker& w : workers_) pids.push_back(w.pid);
        return pids;
    }

    Worker& ByPollable(int socket) {
        return *std::find_if(workers_.begin(), workers_.end(),
                             [socket](const Worker& w) { return w.socket == socket; });
    }

    TaskReport Receive(Worker& w) {
        w.busy = false;
        try {
            if (std::optional<TaskReport> report = TaskReport::Receive(w.socket)) {
                w.busy = report->asksToReplace;
                report->index = w.task;
                return *report;
            }
        } catch (const host::HostError&) {  // a report cut short
        }
        Lose(w);
        return std::exchange(w.lostReport, std::nullopt).value();
    }

    // A worker that is gone counts as an error of the task it had.
    void Lose(Worker& w) {
        w.busy = false;
        w.lost = true;
        TaskReport report;
        report.index = w.task;
        report.returned = false;
        w.lostReport = report;
    }

    std::vector<Worker> workers_;
};

void RemoveFiles(const TaskReport& report) {
    for (const FinishedOutput& output : report.finished) ::unlink(output.path.c_str());
}

}  // namespace

unsigned ForkedWorkers::Cores() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) == 0) return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
    return static_cast<unsigned>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
}

void ForkedWorkers::RunTasks(std::size_t count, unsigned workers, const Task& task,
                             const std::function<bool(std::size_t, int)>& accept) {
    workers = static_cast<unsigned>(std::min<std::size_t>({workers, count, kMostWorkers}));
    const std::size_t inOrderFrom = workers > 1 ? RunInWorkers(count, workers, task, accept) : 0;
    for (std::size_t i = inOrderFrom; i < count; ++i)
        if (!accept(i, task(i))) return;
}

void ForkedWorkers::RunTextTasks(std::size_t count, unsigned workers,
                                 const std::function<std::string(std::size_t)>& task,
                                 const std::function<bool(std::size_t, std::string)>& accept) {
    RunTasks(
        count, workers,
        [&task](std::size_t index) {
            TaskText() = task(index);
            return 0;
        },
        [&accept](std::size_t index, int) { return accept(index, std::exchange(TaskText(), std::string())); });
}

std::unique_ptr<host::WorkerServices::Helper> ForkedWorkers::StartHelper(
    const std::function<std::string(const std::string&)>& answer) {
    return ForkedHelper::Start(viewer_, answer);
}

std::size_t ForkedWorkers::RunInWorkers(std::size_t count, unsigned workers, const Task& task,
                                        const std::function<bool(std::size_t, int)>& accept) {
    WatchInterrupts();
    std::map<std::uint64_t, TaskReport> arrived;
    std::set<std::uint64_t> asking;  // tasks waiting to replace a file
    // What a run says once, each worker says once: the run says it once.
    std::set<std::string> warned;
    std::uint64_t next = 0, due = 0;
    bool stopped = false;
    {
        const InterruptsDeferred deferred;  // the reports on their way are counted first
        WorkerPool pool(workers, task, viewer_);
        while (next < count && pool.Give(next)) ++next;
        while (pool.Busy()) {
            TaskReport report = pool.Collect();
            // Kept in the report: a task refused later removes its files again.
            for (FinishedOutput& output : report.finished) {
                output.order = report.index;
                NoteFinishedOutput(output);
            }
            // Interrupted: the workers end, and the loop takes in what they sent before.
            stopped = stopped || DeferredInterrupt() != 0;
            if (report.asksToReplace)
                asking.insert(report.index);
            else
                arrived.emplace(report.index, std::move(report));
            for (auto it = arrived.find(due); !stopped && it != arrived.end(); it = arrived.find(due)) {
                TaskText() = std::move(it->second.text);
                stopped = !it->second.returned || !accept(static_cast<std::size_t>(due), it->second.outcome);
                if (stopped) break;
                for (const std::string& alert : it->second.alerts)
                    if (alert.empty() || alert.front() != kWarningMark || warned.insert(alert).second)
                        viewer_.Alert(alert);
                arrived.erase(it);
                ++due;
            }
            // A task may replace a file once every task before it was accepted.
            for (auto it = asking.begin(); it != asking.end() && (stopped || *it == due); it = asking.erase(it))
                pool.Answer(*it, !stopped);
            while (!stopped && next < count && pool.Give(next)) ++next;
        }
    }
    if (const int signal = DeferredInterrupt()) EndInterrupted(signal);
    // The task that stopped the run, and those after it, run again in order.
    for (const auto& [index, report] : arrived) RemoveFiles(report);
    return static_cast<std::size_t>(due);
}

}  // namespace tessera::app
