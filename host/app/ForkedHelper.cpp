#include "app/ForkedHelper.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <iostream>
#include <vector>

#include "app/InterruptCleanup.h"
#include "app/TaskReport.h"
#include "app/WorkerFork.h"

namespace tessera::app {
namespace {

// A text on the socket: its length, then its bytes.
bool SendText(int socket, const std::string& text) {
    const std::uint64_t length = text.size();
    return SendAll(socket, &length, sizeof length) && SendAll(socket, text.data(), text.size());
}

constexpr std::uint64_t kMostText = std::uint64_t{1} << 30;

std::optional<std::string> ReceiveText(int socket) {
    std::uint64_t length = 0;
    if (!ReceiveAll(socket, &length, sizeof length) || length > kMostText) return std::nullopt;
    std::string text(length, '\0');
    if (!ReceiveAll(socket, text.data(), text.size())) return std::nullopt;
    return text;
}

// An answer's first byte says whether `answer` returned it; then come the
// alerts it raised, each as a text, and the answer.
constexpr char kAnswered = 'a', kThrew = 't';

std::string Texts(const std::vector<std::string>& texts) {
    std::string bytes;
    for (const std::string& text : texts) {
        const std::uint64_t length = text.size();
        bytes.append(reinterpret_cast<const char*>(&length), sizeof length).append(text);
    }
    return bytes;
}

// The helper draws no progress, and what it shows goes with its answer to
// be shown by its parent; an answer it could not give is the parent's to
// give, alerts and all.
void HelperMain(int socket, ConsoleViewer& viewer, const std::function<std::string(const std::string&)>& answer) {
    std::vector<std::string> alerts;
    viewer.RelayAlerts(&alerts);
    while (const std::optional<std::string> request = ReceiveText(socket)) {
        alerts.clear();
        std::string reply;
        try {
            std::string answered = answer(*request);
            const std::uint64_t count = alerts.size();
            reply = kAnswered + std::string(reinterpret_cast<const char*>(&count), sizeof count) + Texts(alerts) + answered;
        } catch (...) {
            reply = std::string(1, kThrew);
        }
        if (!SendText(socket, reply)) break;
    }
}

}  // namespace

std::unique_ptr<ForkedHelper> ForkedHelper::Start(ConsoleViewer& viewer,
                                                  const std::function<std::string(const std::string&)>& answer) {
    WatchInterrupts();
    const OwnFileOffsets files;
    std::fflush(nullptr);  // a helper must not write out the parent's buffered output again
    std::cout.flush();
    std::cerr.flush();
    const std::optional<ForkedWorker> worker = ForkWorker(
        files, {}, [](pid_t pid) { SetWorkerProcesses({pid}); },
        [&](int socket) { HelperMain(socket, viewer, answer); });
    if (!worker) return nullptr;
    return std::unique_ptr<ForkedHelper>(new ForkedHelper(viewer, worker->pid, worker->socket));
}

ForkedHelper::~ForkedHelper() {
    ::close(socket_);  // the helper's next read ends, and so does the helper
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    SetWorkerProcesses({});
}

bool ForkedHelper::Ask(const std::string& request) { return SendText(socket_, request); }

std::optional<std::string> ForkedHelper::Answer() {
    const std::optional<std::string> reply = ReceiveText(socket_);
    if (!reply || reply->empty() || reply->front() != kAnswered) return std::nullopt;
    std::size_t at = 1;
    const auto number = [&]() -> std::optional<std::uint64_t> {
        std::uint64_t value = 0;
        if (reply->size() - at < sizeof value) return std::nullopt;
        std::memcpy(&value, reply->data() + at, sizeof value);
        at += sizeof value;
        return value;
    };
    const std::optional<std::uint64_t> alerts = number();
    for (std::uint64_t i = 0; alerts && i < *alerts; ++i) {
        const std::optional<std::uint64_t> length = number();
        if (!length || *length > reply->size() - at) return std::nullopt;
        viewer_.Alert(reply->substr(at, *length));
        at += *length;
    }
    if (!alerts) return std::nullopt;
    return reply->substr(at);
}

}  // namespace tessera::app
