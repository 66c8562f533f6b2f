#pragma once
// Work spread over the machine's cores. Each task runs in a process of its
// own, forked from the host with every open document in it: a document is
// never shared between two tasks, and a task's changes to one stay its own.
#include <cstddef>
#include <functional>

namespace tessera::host {

class WorkerServices {
public:
    virtual ~WorkerServices() = default;
    // The machine's cores: how many workers are worth starting.
    virtual unsigned Cores() = 0;
    // Runs task(0) ... task(count - 1), up to `workers` at a time. Here, in
    // task order, the alerts each task raised are shown and then
    // accept(index, outcome) is called; when it returns false, no later task
    // is started and the files later tasks finished are removed, so that the
    // run ends as one that went from task to task would have. A HostError a
    // task throws is thrown here in its turn, with the same effect.
    virtual void RunTasks(std::size_t count, unsigned workers, const std::function<int(std::size_t)>& task,
                          const std::function<bool(std::size_t, int)>& accept) = 0;
};

}  // namespace tessera::host
