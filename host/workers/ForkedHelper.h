#pragma once
// A helper over a forked process: a copy of this one, made when asked for,
// that answers requests over a stream socket while its parent works on.
#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/WorkerServices.h"
#include "viewer/ConsoleViewer.h"

namespace tessera::app {

class ForkedHelper : public host::WorkerServices::Helper {
public:
    // None when no process could be made.
    static std::unique_ptr<ForkedHelper> Start(ConsoleViewer& viewer,
                                               const std::function<std::string(const std::string&)>& answer);
    // Ends the helper and waits for it.
    ~ForkedHelper() override;

    bool Ask(const std::string& request) override;
    std::optional<std::string> Answer() override;

private:
    ForkedHelper(ConsoleViewer& viewer, pid_t pid, int socket) : viewer_(viewer), pid_(pid), socket_(socket) {}

    ConsoleViewer& viewer_;
    pid_t pid_;
    int socket_;
};

}  // namespace tessera::app
