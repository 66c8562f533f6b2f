#include "engine/OutputPlanner.h"

#include <algorithm>

#include "access/ReportHostError.h"
#include "analysis/QueryResolution.h"
#include "analysis/SeparatorPages.h"
#include "engine/BookmarkCollector.h"
#include "host/HostError.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

OutputDocument SingleRangeOutput(std::string name, int start, int count, int options) {
    OutputDocument output;
    output.Filename = std::move(name);
    output.Ranges.push_back(MakePlannedRange(start, count, options));
    return output;
}

void OrderByPage(std::vector<BookmarkRecord>& records) {
    const bool inOrder = std::is_sorted(records.begin(), records.end(),
                                        [](const auto& a, const auto& b) { return a.firstPage < b.firstPage; });
    if (inOrder) return;
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return a.firstPage != b.firstPage ? a.firstPage < b.firstPage : a.level < b.level;
    });
}

void ComputeLastPages(std::vector<BookmarkRecord>& records, int pageCount) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i + 1 == records.size()) {
            records[i].lastPage = pageCount - 1;
        } else {
            const int next = records[i + 1].firstPage;
            records[i].lastPage = next == records[i].firstPage ? next : next - 1;
        }
    }
}

// Runs a page scan; a host error reading the document stops the run after its text is shown.
template <class Scan>
bool Guarded(Scan scan) {
    try {
        return scan();
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
}

}  // namespace

bool PlanEqualPages(const DocumentHandle& source, OutputList& outputs, int pagesPerOutput, int rangeOptions) {
    if (!source.HasDocument() || pagesPerOutput < 1) return false;
    const int pageCount = source.PageCount();
    for (int start = 0; start < pageCount; start += std::min(pagesPerOutput, pageCount - start))
        outputs.push_back(SingleRangeOutput("", start, std::min(pagesPerOutput, pageCount - start), rangeOptions));
    return true;
}

bool PlanBookmarkLevels(const DocumentHandle& source, OutputList& outputs, int low, int high) {
    if (low < 0 || high < 0) return false;
    std::vector<BookmarkRecord> records;
    int pageCount = 0;
    try {
        records = CollectBookmarks(source, high);
        pageCount = source.PageCount();
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
    // A script may name any page; one past the end leads nowhere, like a
    // negative one, and must not stretch the bookmark before it.
    std::erase_if(records, [&](const BookmarkRecord& r) { return r.firstPage >= pageCount; });
    OrderByPage(records);
    ComputeLastPages(records, pageCount);
    for (const BookmarkRecord& r : records) {
        const long count = long{r.lastPage} - r.firstPage + 1;
        if (r.level < low || r.level > high || r.firstPage < 0 || r.lastPage < 0 || count < 1) continue;
        outputs.push_back(SingleRangeOutput(r.pathName, r.firstPage, static_cast<int>(count), kAllPagesFlags));
    }
    return true;
}

bool PlanOutputs(SplitSettings& settings, const DocumentHandle& source) {
    if (!source.HasDocument()) return false;
    settings.Filename.OutputFolder = TrimText(settings.Filename.OutputFolder);
    settings.Filename.OutputBaseFilename = TrimText(settings.Filename.OutputBaseFilename);
    try {
        if (source.Flags() & host::kDocFlagLinearized) settings.Output.bLinearize = true;
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
    const OutputSettings& o = settings.Output;
    using enum SplitMethod;
    switch (settings.SplitMode) {
        case EqualPages:
            settings.Outputs.clear();
            return PlanEqualPages(source, settings.Outputs, o.NumEqualPages, 0);
        case BookmarkLevels:
            settings.Outputs.clear();
            return PlanBookmarkLevels(source, settings.Outputs, std::min(o.StartBookmarkLevel, o.EndBookmarkLevel),
                                      std::max(o.StartBookmarkLevel, o.EndBookmarkLevel));
        case ManualRanges:
            return Guarded([&] { return ResolveQueryRanges(source, settings.Outputs, 0, -1); });
        case SeparatorPages:
            settings.Outputs.clear();
            return Guarded([&] {
                return SplitAtSeparators(source, settings.Outputs, o.SeparatorType, o.BlankPageThreshold * 0.0001,
                                         o.SeparatorQuery);
            });
        default:
            return true;
    }
}

}  // namespace tessera
