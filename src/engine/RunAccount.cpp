#include "engine/RunAccount.h"

#include "engine/PageSelection.h"

namespace tessera {
namespace {

std::vector<int> OneBasedPages(const OutputDocument& output, int pageCount) {
    std::vector<int> pages;
    for (const int page : OutputPages(output, pageCount)) pages.push_back(page + 1);
    return pages;
}

// The text stamped on the output's pages: the first range's that has one.
std::string WatermarkText(const OutputDocument& output) {
    for (const PageRange& range : output.Ranges)
        if (range.Watermark && !range.Watermark->Text.empty()) return range.Watermark->Text;
    return "";
}

host::OutputStatus StatusOf(const SplitResult& result, std::size_t index) {
    if (index < result.reached.size())
        return result.reached[index] ? host::OutputStatus::Written : host::OutputStatus::NoPages;
    const bool failedHere = index == result.reached.size() && result.end == RunEnd::Failed;
    return failedHere ? host::OutputStatus::Failed : host::OutputStatus::NotReached;
}

}  // namespace

std::vector<host::PlannedOutput> PlannedOutputs(const SplitSettings& settings, const std::vector<IndexEntry>& entries,
                                                int pageCount) {
    std::vector<host::PlannedOutput> plan;
    for (std::size_t i = 0; i < settings.Outputs.size(); ++i) {
        const OutputDocument& output = settings.Outputs[i];
        plan.push_back({entries[i].file, OneBasedPages(output, pageCount), output.Key,
                        FileSystemPath(settings.Filename.OutputFolder, output.Filename), entries[i].source,
                        WatermarkText(output), output.KeyOcrConfidence});
    }
    return plan;
}

std::vector<host::ReportedOutput> ReportedOutputs(const SplitSettings& settings, const SplitResult& result,
                                                  int pageCount) {
    std::vector<host::ReportedOutput> outputs;
    if (!result.writing) return outputs;
    for (std::size_t i = 0; i < settings.Outputs.size(); ++i) {
        const OutputDocument& output = settings.Outputs[i];
        outputs.push_back({FileSystemPath(settings.Filename.OutputFolder, output.Filename),
                           OneBasedPages(output, pageCount), StatusOf(result, i), output.Key,
                           static_cast<std::uint64_t>(std::max<std::int64_t>(settings.Output.MaxOutputBytes, 0)),
                           output.KeyOcrConfidence});
    }
    return outputs;
}

}  // namespace tessera
