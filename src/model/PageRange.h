#pragma once
// A span of source pages with parity, order and watermark options, or a query
// range whose pages are found by a query.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "model/PageQuery.h"
#include "model/PageRangeFlags.h"
#include "model/WatermarkStyle.h"

namespace tessera {

struct PageRange {
    std::int32_t StartPage = 0;  // 0-based source page index
    std::int32_t NumPages = 0;
    PageRangeFlags Options;
    // Stamped on every page the range puts in; always with a text. Given by SetWatermark.
    std::optional<WatermarkStyle> Watermark;
    std::string SubTitle;
    PageQuery Query;
    // Derived by ComputeActualPages (or query resolution), stored with the range.
    std::int32_t FirstPage = 0;
    std::int32_t LastPage = 0;
    std::int32_t NumActualPages = 0;
    std::int32_t Step = 0;

    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// Gives the range the watermark; an empty text leaves it without one.
void SetWatermark(PageRange& range, const WatermarkStyle& style);

// Zeroes the page fields; texts, watermark settings and the query stay.
void ResetPageFields(PageRange& range);
// Fills FirstPage, LastPage, NumActualPages and Step from StartPage, NumPages and
// the parity options (both parities set means all pages, and are cleared).
void ComputeActualPages(PageRange& range);
// A plain range over [start, start + count) with the given options, derived fields computed.
PageRange MakePageRange(std::int32_t start, std::int32_t count, PageRangeFlags options = {});

// Whether a plain range reaches before the first or past the last page.
bool RangeOutsideDocument(const PageRange& range, int pageCount);
// The 0-based pages [first, last] a plain range asks for past the document's
// last page; none when it asks for none (a query's pages are all found).
std::optional<std::pair<std::int64_t, std::int64_t>> PagesBeyond(const PageRange& range, int pageCount);

// The flags planned ranges carry besides 0: both parities, which also mean every page.
inline constexpr PageRangeFlags kAllPagesFlags = PageRangeFlag::OddPages | PageRangeFlag::EvenPages;
// A range the planning makes: every page of the span, flags kept as given
// (0 or kAllPagesFlags), derived fields those of a plain range.
PageRange MakePlannedRange(std::int32_t start, std::int32_t count, PageRangeFlags flags);

}  // namespace tessera
