#include "report/RunJson.h"

#include <algorithm>
#include <filesystem>

#include "cabinet/Base64.h"
#include "os/FileDigest.h"
#include "report/PlanPrinter.h"
#include "report/TerminalText.h"

namespace tessera::app {
namespace {

const char* StatusName(host::OutputStatus status) {
    switch (status) {
        case host::OutputStatus::Written:
            return "written";
        case host::OutputStatus::NoPages:
            return "no-pages";
        case host::OutputStatus::Failed:
            return "failed";
        case host::OutputStatus::NotReached:
            break;
    }
    return "not-reached";
}

}  // namespace

void AddExactBytes(nlohmann::json& entry, const std::string& key) {
    const std::string& text = entry[key].get_ref<const std::string&>();
    if (!IsValidUtf8(text)) entry[key + "_bytes"] = cabinet::EncodeBase64(text);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

bool SomeWrittenOnDisk(const std::vector<host::ReportedOutput>& outputs) {
    return std::any_of(outputs.begin(), outputs.end(), [](const host::ReportedOutput& output) {
        std::error_code error;
        return output.status == host::OutputStatus::Written && std::filesystem::exists(output.path, error);
    });
}

nlohmann::json InputJson(const std::string& path, int pages) {
    const std::optional<std::string> sha = FileSha256(path);
    nlohmann::json input = {
        {"path", AbsolutePath(path)}, {"pages", pages}, {"sha256", sha ? nlohmann::json(*sha) : nullptr}};
    AddExactBytes(input, "path");
    return input;
}

nlohmann::json PageRunsJson(const std::vector<int>& pages) {
    nlohmann::json runs = nlohmann::json::array();
    for (const auto& [first, last] : PageRuns(pages)) runs.push_back({first, last});
    return runs;
}

namespace {

// A key read by OCR says how sure the reading was.
void AddKey(nlohmann::json& entry, const std::string& key, int ocrConfidence) {
    if (key.empty()) return;
    entry["key"] = key;
    if (ocrConfidence >= 0) entry["key_ocr_confidence"] = ocrConfidence;
}

}  // namespace

nlohmann::json PlanJson(nlohmann::json input, const std::vector<host::PlannedOutput>& outputs) {
    nlohmann::json list = nlohmann::json::array();
    for (const host::PlannedOutput& output : outputs) {
        std::string file = output.file;
        std::replace(file.begin(), file.end(), '\\', '/');
        nlohmann::json entry = {{"path", AbsolutePath(output.path)},
                                {"file", file},
                                {"pages", PageRunsJson(output.pages)},
                                {"page_count", output.pages.size()},
                                {"name_source", output.nameSource}};
        if (!output.watermark.empty()) entry["watermark"] = output.watermark;
        AddKey(entry, output.key, output.keyOcrConfidence);
        if (output.pages.empty()) entry["status"] = "no-pages";
        AddExactBytes(entry, "path");
        AddExactBytes(entry, "file");
        list.push_back(std::move(entry));
    }
    return {{"kind", "plan"}, {"input", std::move(input)}, {"outputs", std::move(list)}};
}

namespace {

nlohmann::json BeyondJson(const std::vector<host::PagesBeyondDocument>& beyond) {
    nlohmann::json list = nlohmann::json::array();
    for (const host::PagesBeyondDocument& range : beyond)
        list.push_back({{"output", range.output}, {"pages", {range.first, range.last}}});
    return list;
}

}  // namespace

nlohmann::json AccountJson(const host::PageAccount& account) {
    nlohmann::json runs = nlohmann::json::array();
    for (const DroppedRun& run : DroppedRuns(account.dropped))
        runs.push_back({{"pages", {run.first.page, run.last}},
                        {"reason", run.first.reason},
                        {"kind", run.first.kind},
                        {"value", run.first.value}});
    const auto part = [](const std::vector<int>& pages) {
        return nlohmann::json{{"count", pages.size()}, {"pages", PageRunsJson(pages)}};
    };
    return {{"pages", account.pages},
            {"in_outputs", part(account.inOutputs)},
            {"dropped", {{"count", account.dropped.size()}, {"runs", std::move(runs)}}},
            {"in_no_output", part(account.inNoOutput)},
            {"empty_outputs", account.emptyOutputs},
            {"beyond_document", BeyondJson(account.beyondDocument)}};
}

nlohmann::json OutputJson(const host::ReportedOutput& output) {
    nlohmann::json entry = {{"path", AbsolutePath(output.path)},
                            {"pages", PageRunsJson(output.pages)},
                            {"page_count", output.pages.size()},
                            {"status", StatusName(output.status)}};
    AddExactBytes(entry, "path");
    AddKey(entry, output.key, output.keyOcrConfidence);
    if (output.status != host::OutputStatus::Written) return entry;
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(output.path, error);
    const std::optional<std::string> sha = error ? std::nullopt : FileSha256(output.path);
    if (!sha) {
        entry["status"] = "failed";
        entry["reason"] = "the file is not there";
        return entry;
    }
    entry["bytes"] = bytes;
    entry["sha256"] = *sha;
    // A page larger than the limit, written alone as --allow-oversize lets it.
    if (output.sizeLimit > 0 && bytes > output.sizeLimit) entry["oversize"] = true;
    return entry;
}

std::string JsonLine(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace tessera::app
