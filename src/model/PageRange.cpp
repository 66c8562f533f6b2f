#include "model/PageRange.h"

#include <algorithm>

namespace tessera {
namespace {

std::int32_t ClampToInt(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void SetWatermark(PageRange& range, const WatermarkStyle& style) {
    if (style.Text.empty())
        range.Watermark.reset();
    else
        range.Watermark = style;
}

void ResetPageFields(PageRange& range) {
    range.StartPage = range.NumPages = 0;
    range.Options = {};
    range.FirstPage = range.LastPage = range.NumActualPages = range.Step = 0;
}

void ComputeActualPages(PageRange& range) {
    PageRangeFlags& flags = range.Options;
    if (flags.Has(PageRangeFlag::OddPages) && flags.Has(PageRangeFlag::EvenPages)) {
        flags.Clear(PageRangeFlag::OddPages);
        flags.Clear(PageRangeFlag::EvenPages);
    }
    // Wide arithmetic: stored ranges come from files and may hold any value.
    std::int64_t first = std::int64_t{range.StartPage} + 1;
    std::int64_t step = 1;
    if (flags.Has(PageRangeFlag::EvenPages)) {
        if (first % 2 != 0) ++first;
        step = 2;
    }
    if (flags.Has(PageRangeFlag::OddPages)) {
        if (first % 2 == 0) ++first;
        step = 2;
    }
    range.Step = static_cast<std::int32_t>(step);
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{range.StartPage} + range.NumPages, INT32_MAX);
    if (end < first) {
        // Clamped at the int limits, with the first page still above the last.
        range.FirstPage = ClampToInt(first);
        range.LastPage = std::min(ClampToInt(end), range.FirstPage - 1);
        range.NumActualPages = 0;
        return;
    }
    const std::int64_t last = first + ((end - first) / step) * step;
    range.FirstPage = static_cast<std::int32_t>(first - 1);
    range.LastPage = static_cast<std::int32_t>(last - 1);
    range.NumActualPages = static_cast<std::int32_t>((last - first + step) / step);
}

PageRange MakePageRange(std::int32_t start, std::int32_t count, PageRangeFlags options) {
    PageRange range;
    range.StartPage = start;
    range.NumPages = count;
    range.Options = options;
    ComputeActualPages(range);
    return range;
}

PageRange MakePlannedRange(std::int32_t start, std::int32_t count, PageRangeFlags flags) {
    PageRange range = MakePageRange(start, count, {});
    range.Options = flags;
    return range;
}

bool RangeOutsideDocument(const PageRange& range, int pageCount) {
    if (range.Query.Enable) return false;  // its pages are found in the document
    const long last = long{range.StartPage} + std::max(range.NumPages, 1) - 1;
    return range.StartPage < 0 || range.StartPage >= pageCount || last >= pageCount;
}

std::optional<std::pair<std::int64_t, std::int64_t>> PagesBeyond(const PageRange& range, int pageCount) {
    if (range.Query.Enable) return std::nullopt;
    const std::int64_t last = std::int64_t{range.StartPage} + std::max(range.NumPages, 1) - 1;
    if (last < pageCount) return std::nullopt;
    return std::pair(std::max<std::int64_t>(range.StartPage, pageCount), last);
}

}  // namespace tessera
