#include "cli/SplitEnd.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "cli/ExitStatus.h"
#include "report/RunJson.h"

namespace tessera::app {

int SplitExitStatus(int status, const CommandLineFrontEnd& front, const ConsoleViewer& viewer, bool warningsAreFine) {
    if (status == Code(ExitStatus::Failed) && SomeWrittenOnDisk(front.Reported())) return Code(ExitStatus::PartlyDone);
    if (status == Code(ExitStatus::Done) && !viewer.Warnings().empty() && !warningsAreFine)
        return Code(ExitStatus::DoneWithWarnings);
    return status;
}

std::optional<std::int64_t> FixedTimeFor(bool deterministic, const std::string& input, std::string& error) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        // Up to the last second of 9999: every date a name can show.
        constexpr long long kLastSecond = 253402300799;
        char* end = nullptr;
        errno = 0;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end != '\0' || seconds < 0 || seconds > kLastSecond || errno == ERANGE) {
            error = std::string("SOURCE_DATE_EPOCH is \"") + epoch + "\", not a number of seconds since 1970";
            return std::nullopt;
        }
        return seconds;
    }
    struct stat info {};
    if (!deterministic) return std::nullopt;
    if (::stat(input.c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.st_mtime);
}

void PrintEarlyEndJson(std::ostream& out, const std::string& input, const std::string& message, int status) {
    nlohmann::json inputJson = {
        {"path", input == "-" ? input : AbsolutePath(input)}, {"pages", 0}, {"sha256", nullptr}};
    AddExactBytes(inputJson, "path");
    const nlohmann::json document = {{"kind", "report"},
                                     {"input", std::move(inputJson)},
                                     {"outputs", nlohmann::json::array()},
                                     {"index", nullptr},
                                     {"warnings", nlohmann::json::array()},
                                     {"messages", {message}},
                                     {"outcome", OutcomeName(status)},
                                     {"exit_status", status}};
    out << JsonLine(document) << std::endl;
}

void PrintSplitJson(std::ostream& out, const std::string& input, int pages, const CommandLineFrontEnd& front,
                    const ConsoleViewer& viewer, int status, bool dryRun, const nlohmann::json* picture) {
    const nlohmann::json inputJson = InputJson(input, pages);
    nlohmann::json document;
    if (dryRun && status != 1 && status != 2) {
        document = PlanJson(inputJson, front.Plan());
        if (picture) document["plan_picture"] = *picture;
    } else {
        nlohmann::json outputs = nlohmann::json::array();
        for (const host::ReportedOutput& output : front.Reported()) {
            outputs.push_back(OutputJson(output));
            if (output.status == host::OutputStatus::Failed) outputs.back()["reason"] = front.FailureReason();
        }
        document = {{"kind", "report"},
                    {"input", inputJson},
                    {"outputs", std::move(outputs)},
                    {"index", front.IndexPath().empty() ? nlohmann::json(nullptr) : nlohmann::json(front.IndexPath())},
                    {"warnings", viewer.Warnings()},
                    {"messages", viewer.Messages()}};
    }
    if (front.Account()) document["account"] = AccountJson(*front.Account());
    document["outcome"] = OutcomeName(status);
    document["exit_status"] = status;
    out << JsonLine(document) << std::endl;
}

// The time that stands for now, and whether the files must repeat run after
// run; false after a usage error. A bad SOURCE_DATE_EPOCH without
// --deterministic is said and the clock used: build tools set it for every tool.
bool SetTimeRules(CommandLineFrontEnd& front, bool deterministic, const std::string& input) {
    std::string error;
    const std::optional<std::int64_t> time = FixedTimeFor(deterministic, input, error);
    if (!error.empty()) std::cerr << "tessera: " << error << (deterministic ? "" : "; the clock is used") << std::endl;
    if (!error.empty() && deterministic) return false;
    front.SetFixedTime(time);
    front.SetDeterministic(deterministic);
    return true;
}

int StatusOfOutcome(const CommandLineFrontEnd& front) {
    if (!front.HasOutcome()) return Code(ExitStatus::Failed);
    switch (front.Outcome()) {
        case host::RunOutcome::Done:
            return Code(ExitStatus::Done);
        case host::RunOutcome::UsageError:
            return Code(ExitStatus::UsageError);
        default:
            return Code(ExitStatus::Failed);
    }
}

}  // namespace tessera::app
