#pragma once
// What a worker process sends its parent when a task ends, over a stream socket.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "os/InterruptCleanup.h"

namespace tessera::app {

struct TaskReport {
    std::uint64_t index = 0;
    std::int32_t outcome = 0;
    bool returned = true;                  // false: the task threw, or its worker is gone
    std::vector<std::string> alerts;       // in the order they were raised
    std::vector<FinishedOutput> finished;  // the files the task wrote
    // Not an end: the task waits to be told whether it may replace a file
    // that is there (app/ReplacementGate.h); its index is the parent's to know.
    bool asksToReplace = false;
    std::string text;  // a text task's outcome

    // False when the parent is gone.
    bool Send(int socket) const;
    // None at the end of the stream: the worker is gone.
    static std::optional<TaskReport> Receive(int socket);
};

// Whole-buffer transfers on a stream socket; false at its end or on an error.
bool SendAll(int socket, const void* data, std::size_t size);
bool ReceiveAll(int socket, void* data, std::size_t size);

}  // namespace tessera::app
