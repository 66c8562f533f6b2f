#pragma once
// What a worker process sends its parent when a task ends, over a stream socket.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessera::app {

struct TaskReport {
    enum class Ending : std::int32_t { Returned, HostError, OtherError, WorkerLost };
    std::uint64_t index = 0;
    std::int32_t outcome = 0;
    Ending ending = Ending::Returned;
    std::int32_t errorCode = 0;          // of a HostError
    std::string errorText;
    std::vector<std::string> alerts;     // in the order they were raised
    std::vector<std::string> finished;   // the files the task wrote

    // False when the parent is gone.
    bool Send(int socket) const;
    // None at the end of the stream: the worker is gone.
    static std::optional<TaskReport> Receive(int socket);
    // Throws the error the task ended with, as the task did.
    [[noreturn]] void Rethrow() const;
};

// Whole-buffer transfers on a stream socket; false at its end or on an error.
bool SendAll(int socket, const void* data, std::size_t size);
bool ReceiveAll(int socket, void* data, std::size_t size);

}  // namespace tessera::app
