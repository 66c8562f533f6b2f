#pragma once
// A span of source pages with parity, order and watermark options, or a query
// range whose pages are found by a query.
#include <cstdint>
#include <string>

#include "model/PageQuery.h"

namespace tessera {

enum PageRangeOption : std::int32_t {
    OddPages = 1,  // odd and even refer to 1-based page numbers
    EvenPages = 2,
    ReverseOrder = 4,
    AddWatermark = 8,
};

struct PageRange {
    std::int32_t StartPage = 0;  // 0-based source page index
    std::int32_t NumPages = 0;
    std::int32_t Options = 0;
    std::string Watermark;
    std::int32_t TransparencyLevel = 50;
    bool WatermarkBehindText = true;
    std::int32_t WatermarkFontSize = 45;
    std::string SubTitle;
    PageQuery Query;
    // Derived by ComputeActualPages (or query resolution), stored with the range.
    std::int32_t FirstPage = 0;
    std::int32_t LastPage = 0;
    std::int32_t NumActualPages = 0;
    std::int32_t Step = 0;

    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// A watermark's text (UTF-8) and how it is drawn, as a range carries it.
struct WatermarkStyle {
    std::string Text;
    std::int32_t TransparencyLevel = 50;  // percent
    std::int32_t FontSize = 45;           // points
    bool BehindText = false;

    friend bool operator==(const WatermarkStyle&, const WatermarkStyle&) = default;
};
// Gives the range the watermark; an empty text leaves it without one.
void SetWatermark(PageRange& range, const WatermarkStyle& style);
WatermarkStyle WatermarkOf(const PageRange& range);

// Zeroes the page fields; texts, watermark settings and the query stay.
void ResetPageFields(PageRange& range);
// Fills FirstPage, LastPage, NumActualPages and Step from StartPage, NumPages and
// the parity options (both parities set means all pages, and are cleared).
void ComputeActualPages(PageRange& range);
// The label of the range in the output list.
std::string DescribePageRange(const PageRange& range);
// A plain range over [start, start + count) with the given options, derived fields computed.
PageRange MakePageRange(std::int32_t start, std::int32_t count, std::int32_t options);

// The flags planned ranges carry besides 0: both parities, which also mean every page.
inline constexpr std::int32_t kAllPagesFlags = OddPages | EvenPages;
// A range the planning makes: every page of the span, flags kept as given
// (0 or kAllPagesFlags), derived fields those of a plain range.
PageRange MakePlannedRange(std::int32_t start, std::int32_t count, std::int32_t flags);

}  // namespace tessera
