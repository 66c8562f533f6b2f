#include "engine/OutputPlanner.h"

#include "engine/WorkerCount.h"

#include <algorithm>
#include <unordered_set>

#include "access/Host.h"
#include "engine/BookmarkCollector.h"
#include "engine/KeyChangeSplit.h"
#include "model/SeparatorKindTable.h"
#include "reading/PageKeyScan.h"
#include "reading/QueryResolution.h"
#include "reading/SeparatorPages.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

OutputDocument SingleRangeOutput(std::string name, int start, int count, PageRangeFlags options) {
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

// The planned list replaces the old one, which is left empty when planning fails.
bool TakePlan(OutputList& outputs, std::optional<OutputList> planned) {
    outputs = planned ? std::move(*planned) : OutputList{};
    return planned.has_value();
}

// The bookmarks down to `maxLevel` with the pages each one runs over.
std::vector<BookmarkRecord> BookmarkSpans(const DocumentHandle& source, int maxLevel) {
    std::vector<BookmarkRecord> records = CollectBookmarks(source, maxLevel);
    const int pageCount = source.PageCount();
    // A script may name any page; one past the end leads nowhere, like a
    // negative one, and must not stretch the bookmark before it.
    std::erase_if(records, [&](const BookmarkRecord& r) { return r.firstPage >= pageCount; });
    OrderByPage(records);
    ComputeLastPages(records, pageCount);
    return records;
}

// Top-level items are at depth 1; an item whose parents loop has none.
std::optional<int> BookmarkDepth(host::BookmarkRef bookmark) {
    std::unordered_set<host::BookmarkRef, host::ObjectRefHash> seen;
    int depth = 0;
    for (host::BookmarkRef item = bookmark; !item.IsNull(); item = Host().bookmarks->Parent(item)) {
        if (!seen.insert(item).second) return std::nullopt;
        ++depth;
    }
    return depth - 1;  // the outline root is no bookmark
}

}  // namespace

std::optional<OutputList> PlanEqualPages(const DocumentHandle& source, int pagesPerOutput,
                                         PageRangeFlags rangeOptions) {
    if (!source.HasDocument() || pagesPerOutput < 1) return std::nullopt;
    OutputList outputs;
    const int pageCount = source.PageCount();
    for (int start = 0; start < pageCount; start += std::min(pagesPerOutput, pageCount - start))
        outputs.push_back(SingleRangeOutput("", start, std::min(pagesPerOutput, pageCount - start), rangeOptions));
    return outputs;
}

std::optional<PageRange> PlanBookmarkRange(const DocumentHandle& source, host::BookmarkRef bookmark) {
    const std::optional<int> depth = BookmarkDepth(bookmark);
    if (!depth || *depth < 1) return std::nullopt;
    for (const BookmarkRecord& r : BookmarkSpans(source, *depth)) {
        if (r.bookmark != bookmark) continue;
        const long count = long{r.lastPage} - r.firstPage + 1;
        if (r.firstPage < 0 || r.lastPage < 0 || count < 1) return std::nullopt;
        return MakePlannedRange(r.firstPage, static_cast<int>(count), kAllPagesFlags);
    }
    return std::nullopt;
}

std::optional<OutputList> PlanBookmarkLevels(const DocumentHandle& source, int low, int high) {
    if (low < 0 || high < 0) return std::nullopt;
    const std::vector<BookmarkRecord> records = BookmarkSpans(source, high);
    OutputList outputs;
    for (const BookmarkRecord& r : records) {
        const long count = long{r.lastPage} - r.firstPage + 1;
        if (r.level < low || r.level > high || r.firstPage < 0 || r.lastPage < 0 || count < 1) continue;
        outputs.push_back(SingleRangeOutput(r.pathName, r.firstPage, static_cast<int>(count), kAllPagesFlags));
    }
    return outputs;
}

namespace {

bool PlanByEqualPages(SplitSettings& settings, const DocumentHandle& source) {
    return TakePlan(settings.Outputs, PlanEqualPages(source, settings.Output.NumEqualPages, {}));
}

bool PlanByBookmarks(SplitSettings& settings, const DocumentHandle& source) {
    const OutputSettings& o = settings.Output;
    return TakePlan(settings.Outputs, PlanBookmarkLevels(source, std::min(o.StartBookmarkLevel, o.EndBookmarkLevel),
                                                         std::max(o.StartBookmarkLevel, o.EndBookmarkLevel)));
}

bool PlanByHand(SplitSettings& settings, const DocumentHandle& source) {
    return ResolveQueryRanges(source, settings.Outputs, 0, -1, settings.Output.Ocr, WorkerCount(settings));
}

// Consecutive pages make one range each.
OutputDocument OutputOfPages(const std::vector<int>& pages) {
    OutputDocument output;
    for (std::size_t i = 0, start = 0; i < pages.size(); ++i)
        if (i + 1 == pages.size() || pages[i + 1] != pages[i] + 1) {
            output.Ranges.push_back(MakePlannedRange(pages[start], static_cast<int>(i - start + 1), kAllPagesFlags));
            start = i + 1;
        }
    return output;
}

bool PlanByValueChange(SplitSettings& settings, const DocumentHandle& source) {
    const OutputSettings& o = settings.Output;
    std::vector<int> confidence;
    const std::optional<PageKeys> keys =
        ReadPageKeys(source, o.ChangeKey, o.SeparatorQuery, o.Ocr, WorkerCount(settings), &confidence);
    if (!keys) return false;
    settings.Outputs.clear();
    for (const KeyedPages& keyed : SplitAtKeyChanges(*keys, {o.MissingKeyStartsNew, o.GroupSameKey})) {
        settings.Outputs.push_back(OutputOfPages(keyed.pages));
        OutputDocument& output = settings.Outputs.back();
        output.Key = keyed.key;
        // The least sure of the pages whose value made the key.
        for (const int page : keyed.pages)
            if (const int read = confidence.at(static_cast<std::size_t>(page)); read >= 0 && (*keys)[page])
                output.KeyOcrConfidence = output.KeyOcrConfidence < 0 ? read : std::min(output.KeyOcrConfidence, read);
    }
    return true;
}

// "a<mark>b" as {"a", "b"}.
std::vector<std::string> SplitText(const std::string& text, char mark) {
    std::vector<std::string> parts{""};
    for (const char c : text)
        if (c == mark)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    return parts;
}

// Each sheet with a code ends the output before it and names the one after
// it; pages before the first sheet make an output without a code. A sheet
// straight after a sheet leaves the first one's document without pages: it
// stays in the plan, to be said, rather than vanish.
bool PlanByCodes(SplitSettings& settings, const DocumentHandle& source) {
    const OutputSettings& o = settings.Output;
    const std::optional<PageKeys> codes = ReadPageCodes(source, o.SeparatorQuery, static_cast<unsigned>(o.CodeKinds),
                                                        o.CodeAnywhere, WorkerCount(settings));
    if (!codes) return false;
    settings.Outputs.clear();
    std::vector<int> pages;
    std::vector<std::string> found{""};  // the code before the pages, then its groups
    const auto endOutput = [&] {
        if (pages.empty() && found[0].empty()) return;
        settings.Outputs.push_back(OutputOfPages(pages));
        settings.Outputs.back().Key = found[0];
        settings.Outputs.back().KeyGroups.assign(found.begin() + 1, found.end());
        pages.clear();
    };
    std::vector<int> sheets;
    for (std::size_t page = 0; page < codes->size(); ++page)
        if ((*codes)[page]) sheets.push_back(static_cast<int>(page));
    // In a duplex scan only fronts are sheets, and a back goes with its sheet
    // when it is blank or shows a code too, as with the other separators.
    const std::vector<int> dropped = o.Duplex ? DuplexSheets(source, sheets, o.BlankPageThreshold * 0.0001) : sheets;
    settings.SeparatorsFound = static_cast<int>(sheets.size());
    for (int page = 0; page < static_cast<int>(codes->size()); ++page) {
        if (std::ranges::binary_search(sheets, page)) {
            endOutput();
            found = SplitText(*(*codes)[static_cast<std::size_t>(page)], kGroupMark);
        }
        if (o.KeepSeparators || !std::ranges::binary_search(dropped, page))
            pages.push_back(page);
        else
            settings.Dropped.push_back(std::ranges::binary_search(sheets, page)
                                           ? DroppedPage{page, DropReason::Separator, "code", found[0]}
                                           : DroppedPage{page, DropReason::SheetBack, "back", ""});
    }
    endOutput();
    return true;
}

bool PlanBySeparators(SplitSettings& settings, const DocumentHandle& source) {
    const OutputSettings& o = settings.Output;
    // Values and codes have planners of their own, which also name the outputs.
    const SeparatorKindRow* kind = FindSeparatorKindRow(o.SeparatorType);
    if (kind && kind->scan == SeparatorScan::Values) return PlanByValueChange(settings, source);
    if (kind && kind->scan == SeparatorScan::Codes) return PlanByCodes(settings, source);
    settings.Outputs.clear();
    return SplitAtSeparators(source, settings.Outputs, o.SeparatorType, o.BlankPageThreshold * 0.0001, o.SeparatorQuery,
                             WorkerCount(settings), &o, &settings.Dropped, &settings.SeparatorsFound);
}

// Every page in one output, which the size limit then cuts.
bool PlanBySize(SplitSettings& settings, const DocumentHandle& source) {
    return TakePlan(settings.Outputs, PlanEqualPages(source, std::max(1, source.PageCount()), {}));
}

// The planner of each row of SplitMethodRows.
struct MethodPlanner {
    SplitMethod method;
    bool (*plan)(SplitSettings&, const DocumentHandle&);
};

constexpr MethodPlanner kMethodPlanners[] = {
    {SplitMethod::EqualPages, PlanByEqualPages}, {SplitMethod::BookmarkLevels, PlanByBookmarks},
    {SplitMethod::ManualRanges, PlanByHand},     {SplitMethod::SeparatorPages, PlanBySeparators},
    {SplitMethod::BySize, PlanBySize},
};

}  // namespace

bool HasPlanner(SplitMethod method) {
    return std::ranges::any_of(kMethodPlanners, [&](const MethodPlanner& p) { return p.method == method; });
}

bool PlanOutputs(SplitSettings& settings, const DocumentHandle& source) {
    if (!source.HasDocument()) return false;
    settings.Filename.OutputFolder = TrimText(settings.Filename.OutputFolder);
    settings.Filename.OutputBaseFilename = TrimText(settings.Filename.OutputBaseFilename);
    if (source.Flags() & host::kDocFlagLinearized) settings.Output.bLinearize = true;
    settings.Dropped.clear();
    settings.SeparatorsFound = -1;
    for (const MethodPlanner& planner : kMethodPlanners)
        if (planner.method == settings.SplitMode) return planner.plan(settings, source);
    // A stored integer that names no method keeps the list as it is.
    return true;
}

}  // namespace tessera
