#include "report/SignalJson.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "os/InterruptCleanup.h"
#include "report/RunJson.h"

namespace tessera::app {
namespace {

// Changed only with the signals held, on the one thread that takes them.
struct Composed {
    bool started = false;
    std::string head;  // up to the outputs' opening bracket
    std::string body;  // the outputs so far, comma-separated
    std::string tail;  // from the outputs' closing bracket to the messages
    std::function<std::vector<std::string>()> warnings;
};
Composed composed;

void ComposeTail() {
    const nlohmann::json warnings = composed.warnings ? composed.warnings() : std::vector<std::string>();
    composed.tail = "],\"index\":null,\"warnings\":" + JsonLine(warnings);
}

void WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size);
        if (n <= 0) return;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The end of the report for each signal a run is stopped by.
const char* Ending(int signal) {
    switch (signal) {
        case SIGINT:
            return ",\"messages\":[\"interrupted by SIGINT\"],\"signal\":\"SIGINT\",\"outcome\":\"interrupted\","
                   "\"exit_status\":130}\n";
        case SIGHUP:
            return ",\"messages\":[\"interrupted by SIGHUP\"],\"signal\":\"SIGHUP\",\"outcome\":\"interrupted\","
                   "\"exit_status\":129}\n";
        default:
            return ",\"messages\":[\"interrupted by SIGTERM\"],\"signal\":\"SIGTERM\",\"outcome\":\"interrupted\","
                   "\"exit_status\":143}\n";
    }
}

}  // namespace

void StartSignalJson(const std::string& input, std::function<std::vector<std::string>()> warnings) {
    std::string head = "{\"kind\":\"report\",\"input\":" + input + ",\"outputs\":[";
    const InterruptsHeld held;
    composed.warnings = std::move(warnings);
    composed.head = std::move(head);
    composed.body.clear();
    ComposeTail();
    composed.started = true;
    SetInterruptReport({AddSignalJsonOutput, WriteSignalJson});
}

void AddSignalJsonOutput(const std::string& path, const std::vector<int>& pages) {
    if (!composed.started) return;
    if (!composed.body.empty()) composed.body += ',';
    composed.body += JsonLine(OutputJson({path, pages, host::OutputStatus::Written, "", 0}));
    ComposeTail();
}

void WriteSignalJson(int signal) {
    if (!composed.started) return;
    WriteAll(composed.head.data(), composed.head.size());
    WriteAll(composed.body.data(), composed.body.size());
    WriteAll(composed.tail.data(), composed.tail.size());
    const char* ending = Ending(signal);
    WriteAll(ending, std::strlen(ending));
}

}  // namespace tessera::app
