#include "engine/RunSplit.h"

#include <algorithm>

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "engine/HtmlIndex.h"
#include "engine/OutputPlanner.h"
#include "engine/OutputProducer.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

// A run must never destroy the document it reads.
bool WritesOverSource(const SplitSettings& settings, const std::string& sourcePath) {
    for (const OutputDocument& output : settings.Outputs)
        if (Host().files->IsSameFile(FileSystemPath(settings.Filename.OutputFolder, output.Filename), sourcePath))
            return true;
    return false;
}

// The host writes each output through a temporary file beside it whose name
// is at most this long.
constexpr std::size_t kTemporaryNameBytes = 24;
// Linux refuses a path of 4096 bytes or more (PATH_MAX counts the final NUL).
constexpr std::size_t kMaxPathBytes = 4095;

bool FitsPathLimit(const std::string& path) {
    const std::size_t folder = path.rfind('/') + 1;  // 0 without a folder
    return folder + std::max(path.size() - folder, kTemporaryNameBytes) <= kMaxPathBytes;
}

// Found before anything is written, so that a run does not stop half-way.
bool PathsFitSystem(const SplitSettings& settings) {
    for (const OutputDocument& output : settings.Outputs) {
        const std::string path = FileSystemPath(settings.Filename.OutputFolder, output.Filename);
        if (!FitsPathLimit(path)) {
            Host().viewer->Alert(FormatText(LookupString("IDS_OUTPUT_PATH_TOO_LONG"), {path}));
            return false;
        }
    }
    return true;
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
            if (!(range.Options & AddWatermark)) SetWatermark(range, style);
}

}  // namespace

std::tm LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    return today;
}

std::optional<std::vector<IndexEntry>> PlanAndName(SplitSettings& settings, const DocumentHandle& source,
                                                   const std::tm& today) {
    if (!PlanOutputs(settings, source)) return std::nullopt;
    WatermarkEveryRange(settings.Outputs, settings.Output.EveryRangeWatermark);
    std::string& folder = settings.Filename.OutputFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (settings.Outputs.empty()) return std::vector<IndexEntry>{};
    std::vector<IndexEntry> entries = NameOutputs(settings, source, today);
    if (!PathsFitSystem(settings)) return std::nullopt;
    return entries;
}

SplitResult RunSplit(SplitSettings& settings, const DocumentHandle& source) {
    SplitResult result;
    const std::optional<std::vector<IndexEntry>> entries = PlanAndName(settings, source, LocalToday());
    if (!entries) return result;
    result.completed = settings.Outputs.empty();
    if (result.completed) return result;
    const std::string sourcePath = source.FilePath();
    if (WritesOverSource(settings, sourcePath)) {
        AlertByKey("IDS_OUTPUT_WOULD_OVERWRITE_SOURCE");
        return result;
    }
    const Production production = ProduceOutputs(source, settings);
    result.written = static_cast<std::size_t>(std::count(production.written.begin(), production.written.end(), true));
    result.withoutPages = production.written.size() - result.written;
    result.completed = production.completed;
    result.cancelled = production.cancelled;
    if (result.completed && settings.Output.bCreateHTMLIndex)
        WriteHtmlIndex(settings.Filename.OutputFolder, sourcePath, WrittenEntries(*entries, production.written));
    return result;
}

}  // namespace tessera
