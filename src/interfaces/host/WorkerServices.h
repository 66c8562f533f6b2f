#pragma once
// Work spread over the machine's cores. Each task runs in a process of its
// own, forked from the host with every open document in it: a document is
// never shared between two tasks, and a task's changes to one stay its own.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tessera::host {

class WorkerServices {
public:
    virtual ~WorkerServices() = default;
    // The machine's cores: how many workers are worth starting.
    virtual unsigned Cores() = 0;
    // Runs task(0) ... task(count - 1), up to `workers` at a time, and calls
    // accept(index, outcome) here in task order, showing each task's alerts
    // after it. A task that throws, or whose outcome accept refuses, may have
    // failed for the tasks beside it (a disk they filled): the files of later
    // tasks are removed, and from that task on the tasks run here one after
    // the other, with their alerts and errors as they come, until accept
    // refuses one again. The run so ends as one that went in order would.
    virtual void RunTasks(std::size_t count, unsigned workers, const std::function<int(std::size_t)>& task,
                          const std::function<bool(std::size_t, int)>& accept) = 0;
    // A process forked now, beside this one, that answers requests one at a
    // time while this one goes on with work of its own. What it shows is
    // shown here with its answer; a request it could not answer is this
    // process's to do again, showing why.
    class Helper {
    public:
        virtual ~Helper() = default;  // ends the helper
        // False when the helper is gone.
        virtual bool Ask(const std::string& request) = 0;
        // Waits for the answer to the request asked; none when the helper is
        // gone or `answer` threw.
        virtual std::optional<std::string> Answer() = 0;
    };
    // None when no process could be made.
    virtual std::unique_ptr<Helper> StartHelper(const std::function<std::string(const std::string&)>& answer) = 0;
    // The same for tasks whose outcome is a text (what some pages hold).
    virtual void RunTextTasks(std::size_t count, unsigned workers, const std::function<std::string(std::size_t)>& task,
                              const std::function<bool(std::size_t, std::string)>& accept) = 0;
};

}  // namespace tessera::host
