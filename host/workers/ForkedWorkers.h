#pragma once
// The worker services over forked processes: each worker is a copy of this
// process, with its own copy of every open document and its own place in
// every file it reads. A worker takes one task at a time and sends back the
// task's outcome, its alerts and the files it finished; the parent hands out
// the tasks in order and takes the results in order.
#include <sys/types.h>

#include <cstddef>
#include <map>
#include <vector>

#include "host/WorkerServices.h"
#include "viewer/ConsoleViewer.h"
#include "workers/TaskReport.h"

namespace tessera::app {

class ForkedWorkers : public host::WorkerServices {
public:
    explicit ForkedWorkers(ConsoleViewer& viewer) : viewer_(viewer) {}

    unsigned Cores() override;
    void RunTasks(std::size_t count, unsigned workers, const std::function<int(std::size_t)>& task,
                  const std::function<bool(std::size_t, int)>& accept) override;
    void RunTextTasks(std::size_t count, unsigned workers, const std::function<std::string(std::size_t)>& task,
                      const std::function<bool(std::size_t, std::string)>& accept) override;
    std::unique_ptr<Helper> StartHelper(const std::function<std::string(const std::string&)>& answer) override;

private:
    // Runs the tasks in workers up to the first one that fails or is refused,
    // and removes what that one and those after it wrote; returns its index
    // (count when none failed).
    std::size_t RunInWorkers(std::size_t count, unsigned workers, const std::function<int(std::size_t)>& task,
                             const std::function<bool(std::size_t, int)>& accept);

    ConsoleViewer& viewer_;
};

}  // namespace tessera::app
