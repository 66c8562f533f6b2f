#include "engine/RunSplit.h"

#include <algorithm>

#include "access/Host.h"
#include "engine/HtmlIndex.h"
#include "engine/OutputPlanner.h"
#include "engine/OutputProducer.h"
#include "engine/PageAccount.h"
#include "engine/SizeLimit.h"
#include "reading/SplitFacts.h"
#include "strings/LanguageTable.h"
#include "strings/PathLimit.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

// The refusals the run makes itself are shown, and kept for a batch's line.
Failure Refuse(const char* key, const std::string& path) {
    const std::string text = FormatText(LookupString(key), {path});
    Host().viewer->Alert(text);
    return {text};
}

std::vector<std::string> OutputPaths(const SplitSettings& settings) {
    std::vector<std::string> paths;
    for (const OutputDocument& output : settings.Outputs)
        paths.push_back(FileSystemPath(settings.Filename.OutputFolder, output.Filename));
    return paths;
}

// A run must never destroy a document it reads: its own source, or in a
// batch any other input, split already or waiting for its turn. Nor may it
// replace a file an earlier split of the batch wrote. Found before anything
// is written, the index included.
Result<> NothingInTheWay(std::vector<std::string> paths, const std::string& sourcePath, const std::string& indexPath,
                         const WrittenFiles* batchFiles) {
    host::FileServices& files = *Host().files;
    if (!indexPath.empty()) {
        if (files.FolderExists(indexPath)) return Refuse("IDS_HTML_INDEX_NOT_WRITTEN", indexPath);
        paths.push_back(indexPath);
    }
    for (const std::string& path : paths) {
        if (files.IsRunInput(path))
            return Refuse(files.IsSameFile(path, sourcePath) ? "IDS_OUTPUT_WOULD_OVERWRITE_SOURCE"
                                                             : "IDS_OUTPUT_WOULD_OVERWRITE_INPUT",
                          path);
        if (batchFiles && batchFiles->Has(path)) return Refuse("IDS_OUTPUT_PATH_WRITTEN_TWICE", path);
    }
    return {};
}

// The host writes each output through a temporary file beside it whose name
// is at most this long.
constexpr std::size_t kTemporaryNameBytes = 24;

bool FitsPathLimit(const std::string& path) {
    const std::size_t folder = path.rfind('/') + 1;  // 0 without a folder
    return folder + std::max(path.size() - folder, kTemporaryNameBytes) <= kMaxPathBytes;
}

// Found before anything is written, so that a run does not stop half-way.
Result<> PathsFitSystem(const SplitSettings& settings, const std::string& indexPath) {
    std::vector<std::string> paths = OutputPaths(settings);
    if (!indexPath.empty()) paths.push_back(indexPath);
    for (const std::string& path : paths)
        if (!FitsPathLimit(path)) return Refuse("IDS_OUTPUT_PATH_TOO_LONG", path);
    return {};
}

// Only the outputs that were written have a place in the index.
std::vector<IndexEntry> WrittenEntries(const std::vector<IndexEntry>& entries, const std::vector<bool>& written) {
    std::vector<IndexEntry> kept;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i]) kept.push_back(entries[i]);
    return kept;
}

// The command line's watermark goes on every range the plan made, except
// those that bring one of their own.
void WatermarkEveryRange(OutputList& outputs, const WatermarkStyle& style) {
    if (style.Text.empty()) return;
    for (OutputDocument& output : outputs)
        for (PageRange& range : output.Ranges)
            if (!range.Watermark) SetWatermark(range, style);
}

// Where the index goes; empty without one.
std::string IndexPath(const SplitSettings& settings, const DocumentHandle& source) {
    return settings.Output.bCreateHTMLIndex ? HtmlIndexPath(settings.Filename.OutputFolder, source.FilePath()) : "";
}

// Said by every route that plans, before anything is written: a page that
// goes nowhere is a warning while there is still time to stop.
void WarnOfAccount(const SplitSettings& settings, const DocumentHandle& source, host::PageAccount* kept) {
    host::PageAccount account = AccountPages(settings, source.PageCount());
    for (const std::string& warning : AccountWarnings(settings, account)) Host().viewer->AlertWarning(warning);
    if (kept) *kept = std::move(account);
}

}  // namespace

std::optional<std::string> SettingsRefusal(const SplitSettings& settings, const DocumentHandle& source) {
    std::vector<SettingsProblem> problems = CheckSettings(settings, ReadSplitFacts(source));
    // Encryption draws random salts and keys: its files can never repeat.
    if (settings.Security.NeedsSecurity() && Host().commandLine && Host().commandLine->Deterministic())
        problems.push_back({"IDS_DETERMINISTIC_ENCRYPTION", "", LookupString("IDS_DETERMINISTIC_ENCRYPTION")});
    for (const SettingsProblem& problem : problems) Host().viewer->Alert(problem.text);
    if (problems.empty()) return std::nullopt;
    return problems.front().text;
}

std::tm LocalToday() {
    std::tm today{};
    // A fixed time is the same day wherever the run is, as reproducible builds take it.
    if (const std::optional<std::int64_t> fixed = Host().commandLine ? Host().commandLine->FixedTime() : std::nullopt) {
        const std::time_t then = static_cast<std::time_t>(*fixed);
        gmtime_r(&then, &today);
        return today;
    }
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &today);
    return today;
}

std::optional<std::string> NamesListMismatch(const SplitSettings& settings) {
    // Names go to documents: the parts the size limit cuts share their document's.
    const std::size_t names = settings.Filename.OutputNames.size(), outputs = CountDocuments(settings.Outputs);
    if (names == 0 || names == outputs) return std::nullopt;
    return FormatText(LookupString("IDS_NAMES_COUNT_MISMATCH"),
                      {static_cast<std::int64_t>(names), static_cast<std::int64_t>(outputs)});
}

std::optional<std::vector<IndexEntry>> PlanAndName(SplitSettings& settings, const DocumentHandle& source,
                                                   const std::tm& today, host::PageAccount* account) {
    if (!PlanOutputs(settings, source)) return std::nullopt;
    WatermarkEveryRange(settings.Outputs, settings.Output.EveryRangeWatermark);
    if (!FitToSizeLimit(settings, source)) return std::nullopt;
    std::string& folder = settings.Filename.OutputFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (const std::optional<std::string> mismatch = NamesListMismatch(settings)) {
        Host().viewer->Alert(*mismatch);
        return std::nullopt;
    }
    if (settings.Outputs.empty()) {
        WarnOfAccount(settings, source, account);
        return std::vector<IndexEntry>{};
    }
    std::vector<IndexEntry> entries = NameOutputs(settings, source, today);
    if (!PathsFitSystem(settings, IndexPath(settings, source))) return std::nullopt;
    WarnOfAccount(settings, source, account);
    return entries;
}

SplitResult RunSplit(SplitSettings& settings, const DocumentHandle& source, const RunContext& context) {
    SplitResult result;
    if (const std::optional<std::string> refusal = SettingsRefusal(settings, source)) {
        result.refusal = *refusal;
        return result;
    }
    host::PageAccount account;
    const std::optional<std::vector<IndexEntry>> entries = PlanAndName(settings, source, LocalToday(), &account);
    if (!entries) return result;
    result.account = std::move(account);
    if (settings.Outputs.empty()) {
        result.end = RunEnd::Completed;
        return result;
    }
    const std::string sourcePath = source.FilePath();
    const std::string indexPath = IndexPath(settings, source);
    if (const Result<> clear = NothingInTheWay(OutputPaths(settings), sourcePath, indexPath, context.batchFiles);
        !clear) {
        result.refusal = clear.Reason();
        return result;
    }
    const Production production = ProduceOutputs(source, settings, context);
    result.writing = true;
    result.reached = production.written;
    result.written = static_cast<std::size_t>(std::count(production.written.begin(), production.written.end(), true));
    result.withoutPages = production.written.size() - result.written;
    result.end = production.end;
    result.refusal = production.refusal;
    if (!result.Completed() || indexPath.empty()) return result;
    // The index is one of the run's files: without it the run failed.
    const Result<> index = WriteHtmlIndex(indexPath, sourcePath, WrittenEntries(*entries, production.written));
    result.end = index ? RunEnd::Completed : RunEnd::Failed;
    result.refusal = index.Reason();
    if (result.Completed()) result.index = indexPath;
    if (result.Completed() && context.batchFiles) context.batchFiles->Note(indexPath);
    return result;
}

}  // namespace tessera
