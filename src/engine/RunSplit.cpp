#include "engine/RunSplit.h"

#include "engine/HtmlIndex.h"
#include "engine/OutputPlanner.h"
#include "engine/OutputProducer.h"
#include "engine/ReportHostError.h"
#include "shell/Host.h"
#include "shell/host/HostError.h"
#include "strings/LanguageTable.h"

namespace tessera {
namespace {

// A run must never destroy the document it reads.
bool WritesOverSource(const SplitSettings& settings, const std::string& sourcePath) {
    for (const OutputDocument& output : settings.Outputs)
        if (Host().files->IsSameFile(FileSystemPath(settings.Filename.OutputFolder, output.Filename), sourcePath))
            return true;
    return false;
}

}  // namespace

std::tm LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    return today;
}

bool PlanAndName(SplitSettings& settings, const DocumentHandle& source, const std::tm& today,
                 std::vector<IndexEntry>& entries) {
    if (!PlanOutputs(settings, source)) return false;
    std::string& folder = settings.Filename.OutputFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    entries.clear();
    if (settings.Outputs.empty()) return true;
    entries = NameOutputs(settings, source, today);
    return true;
}

bool RunSplit(SplitSettings& settings, const DocumentHandle& source) {
    std::vector<IndexEntry> entries;
    if (!PlanAndName(settings, source, LocalToday(), entries)) return false;
    if (settings.Outputs.empty()) return true;
    std::string sourcePath;
    try {
        sourcePath = source.FilePath();
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
    if (WritesOverSource(settings, sourcePath)) {
        AlertByKey("IDS_OUTPUT_WOULD_OVERWRITE_SOURCE");
        return false;
    }
    if (!ProduceOutputs(source, settings)) return false;
    if (settings.Output.bCreateHTMLIndex) WriteHtmlIndex(settings.Filename.OutputFolder, sourcePath, entries);
    return true;
}

}  // namespace tessera
