#include "workers/ForkedHelper.h"

#include <unistd.h>

#include <vector>

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "workers/TaskReport.h"
#include "workers/WorkerFork.h"

namespace tessera::app {
namespace {

// Requests and answers travel as task reports: a request is the text of
// one, an answer the text of another with the alerts raised on the way, or
// one that did not return when `answer` threw.
bool SendRequest(int socket, const std::string& request) {
    TaskReport report;
    report.text = request;
    return report.Send(socket);
}

// None when the other end is gone or sent what cannot be read.
std::optional<TaskReport> ReceiveReport(int socket) {
    try {
        return TaskReport::Receive(socket);
    } catch (const host::HostError&) {  // cut short
        return std::nullopt;
    }
}

// The helper draws no progress, and what it shows goes with its answer to
// be shown by its parent; an answer it could not give is the parent's to
// give, alerts and all.
void HelperMain(int socket, ConsoleViewer& viewer, const std::function<std::string(const std::string&)>& answer) {
    TaskReport reply;
    viewer.RelayAlerts(&reply.alerts);
    while (const std::optional<TaskReport> request = ReceiveReport(socket)) {
        reply.alerts.clear();
        try {
            reply.text = answer(request->text);
            reply.returned = true;
        } catch (...) {
            reply.text.clear();
            reply.alerts.clear();
            reply.returned = false;
        }
        if (!reply.Send(socket)) break;
    }
}

}  // namespace

std::unique_ptr<ForkedHelper> ForkedHelper::Start(ConsoleViewer& viewer,
                                                  const std::function<std::string(const std::string&)>& answer) {
    WatchInterrupts();
    const OwnFileOffsets files = PrepareToFork();
    const std::optional<ForkedWorker> worker = ForkWorker(
        files, {}, [](pid_t pid) { SetWorkerProcesses({pid}); },
        [&](int socket) { HelperMain(socket, viewer, answer); });
    if (!worker) return nullptr;
    return std::unique_ptr<ForkedHelper>(new ForkedHelper(viewer, worker->pid, worker->socket));
}

ForkedHelper::~ForkedHelper() {
    ::close(socket_);  // the helper's next read ends, and so does the helper
    AwaitWorker(pid_);
    SetWorkerProcesses({});
}

bool ForkedHelper::Ask(const std::string& request) { return SendRequest(socket_, request); }

std::optional<std::string> ForkedHelper::Answer() {
    std::optional<TaskReport> reply = ReceiveReport(socket_);
    if (!reply || !reply->returned) return std::nullopt;
    for (const std::string& alert : reply->alerts) viewer_.Alert(alert);
    return std::move(reply->text);
}

}  // namespace tessera::app
