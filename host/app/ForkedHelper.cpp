#include "app/ForkedHelper.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
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

// An answer's first byte says whether `answer` returned it.
constexpr char kAnswered = 'a', kThrew = 't';

// What the helper shows is its parent's to show, when the parent does the
// same work itself: the helper's alerts go nowhere, and it draws no progress.
void HelperMain(int socket, ConsoleViewer& viewer, const std::function<std::string(const std::string&)>& answer) {
    std::vector<std::string> unshown;
    viewer.RelayAlerts(&unshown);
    while (const std::optional<std::string> request = ReceiveText(socket)) {
        std::string reply;
        try {
            reply = kAnswered + answer(*request);
        } catch (...) {
            reply = std::string(1, kThrew);
        }
        unshown.clear();
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
    return std::unique_ptr<ForkedHelper>(new ForkedHelper(worker->pid, worker->socket));
}

ForkedHelper::~ForkedHelper() {
    ::close(socket_);  // the helper's next read ends, and so does the helper
    ::waitpid(pid_, nullptr, 0);
    SetWorkerProcesses({});
}

bool ForkedHelper::Ask(const std::string& request) { return SendText(socket_, request); }

std::optional<std::string> ForkedHelper::Answer() {
    std::optional<std::string> reply = ReceiveText(socket_);
    if (!reply || reply->empty() || reply->front() != kAnswered) return std::nullopt;
    return reply->substr(1);
}

}  // namespace tessera::app
