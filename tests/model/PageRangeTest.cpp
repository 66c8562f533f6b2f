// Which pages a range takes, how it is described, and where a page lands in the outputs.
#include "model/Fixed16.h"
#include "model/OutputDocument.h"
#include "support/ScopedLanguageTable.h"
#include "ui/RangeDescription.h"

namespace tessera {
namespace {

TEST(PageRangeTest, PagesTakenByStartCountAndParity) {
    const struct Case {
        const char* name;
        int start, count;
        PageRangeFlags options;
        int first, last, actual, step;
        PageRangeFlags optionsAfter;
    } cases[] = {
        {"all pages", 0, 10, {}, 0, 9, 10, 1, {}},
        {"even of ten", 0, 10, PageRangeFlag::EvenPages, 1, 9, 5, 2, PageRangeFlag::EvenPages},
        {"even of one page: none", 0, 1, PageRangeFlag::EvenPages, 2, 1, 0, 2, PageRangeFlag::EvenPages},
        {"odd of an even page: none", 5, 1, PageRangeFlag::OddPages, 7, 6, 0, 2, PageRangeFlag::OddPages},
        {"odd of 4-7: 5 and 7", 3, 4, PageRangeFlag::OddPages, 4, 6, 2, 2, PageRangeFlag::OddPages},
        {"both parities mean all", 2, 3,
         PageRangeFlag::OddPages | PageRangeFlag::EvenPages | PageRangeFlag::ReverseOrder, 2, 4, 3, 1,
         PageRangeFlag::ReverseOrder},
        {"empty span", 4, 0, {}, 5, 4, 0, 1, {}},
        {"huge values do not overflow", 2147483000, 1000, {}, 2147483000, 2147483646, 647, 1, {}},
        {"last start clamps below the top", INT32_MAX, 0, PageRangeFlag::EvenPages, INT32_MAX, INT32_MAX - 1, 0, 2,
         PageRangeFlag::EvenPages},
        {"first start clamps above the bottom", INT32_MIN, -5, {}, INT32_MIN + 1, INT32_MIN, 0, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PageRange r = MakePageRange(c.start, c.count, c.options);
        EXPECT_EQ(std::tuple(r.FirstPage, r.LastPage, r.NumActualPages, r.Step, r.Options),
                  std::tuple(c.first, c.last, c.actual, c.step, c.optionsAfter));
    }
}

TEST(PageRangeTest, DescriptionUsesNominalSpanOptionsAndQueryAndAQueryIsComplete) {
    const test::ScopedLanguageTable table;
    EXPECT_EQ(DescribePageRange(MakePageRange(4, 6, PageRangeFlag::OddPages | PageRangeFlag::ReverseOrder)),
              "Odd Pages from 5 to 10 (3 pages), Reverse Order");
    EXPECT_EQ(DescribePageRange(MakePageRange(0, 1, PageRangeFlag::OddPages | PageRangeFlag::EvenPages)),
              "All Pages from 1 to 1 (1 page)");
    PageRange marked = MakePageRange(1, 4, PageRangeFlag::EvenPages);
    SetWatermark(marked, {.Text = "Copy"});
    marked.SubTitle = "Chapter 2: ";
    EXPECT_EQ(DescribePageRange(marked), "Chapter 2: Even Pages from 2 to 5 (2 pages), Watermark: Copy");
    SetWatermark(marked, {.Text = ""});
    EXPECT_EQ(DescribePageRange(marked), "Chapter 2: Even Pages from 2 to 5 (2 pages)") << "no text, no watermark";

    PageRange r;
    r.Query.Enable = true;
    r.Query.Target = QueryTarget::QueryPageRanges;
    r.Query.FirstPageQuery.Pattern = "Chapter";
    r.Query.LastPageQuery.Pattern = "Summary";
    EXPECT_EQ(DescribePageRange(r), "Query Page Range Matching \"Chapter\" And \"Summary\"");
    r.Query.Target = QueryTarget::QueryPageContent;
    r.Query.PageContentQuery = {host::PageElementKind::Image, host::PageElementKind::WebLink};
    EXPECT_EQ(DescribePageRange(r), "Query Set of Pages Containing: Image, Web Link ");
    r.Query.Target = QueryTarget{9};
    EXPECT_EQ(DescribePageRange(r), "Query Single Page Matching \"Chapter\"") << "unknown targets: single page";

    PageQuery q;  // complete with every pattern its target needs
    EXPECT_FALSE(IsQueryComplete(q));
    q.FirstPageQuery.Pattern = "x";
    EXPECT_TRUE(IsQueryComplete(q));
    q.Target = QueryTarget::QueryPageRanges;
    EXPECT_FALSE(IsQueryComplete(q));
    q.LastPageQuery.Pattern = "y";
    EXPECT_TRUE(IsQueryComplete(q));
    q.Target = QueryTarget::QueryPageContent;
    EXPECT_FALSE(IsQueryComplete(q));
    q.PageContentQuery = {host::PageElementKind::Stamp};
    EXPECT_TRUE(IsQueryComplete(q));
}

OutputDocument Output(std::initializer_list<PageRange> ranges) { return OutputDocument{ranges, ""}; }

TEST(OutputDocumentTest, PagePositionSpanNameCountAndMerge) {
    // Pages 6, 4 (0-based 5, 3), then 1, 2, then page 2 again.
    const OutputDocument out = Output({MakePageRange(3, 4, PageRangeFlag::EvenPages | PageRangeFlag::ReverseOrder),
                                       MakePageRange(0, 2), MakePageRange(1, 1)});
    const std::pair<int, int> positions[] = {{5, 0}, {3, 1}, {4, -1}, {0, 2}, {1, 3}, {9, -1}};
    for (const auto& [page, position] : positions) EXPECT_EQ(FindPagePosition(out, page), position) << page;
    PageRange uncomputed;
    uncomputed.NumPages = 5;
    EXPECT_EQ(FindPagePosition(Output({uncomputed}), 0), -1) << "a range never computed takes no page";

    const OutputList outputs = {Output({MakePageRange(0, 3)}), Output({MakePageRange(3, 2)})};
    const PageLocation loc = FindOutputForPage(outputs, 4);
    EXPECT_EQ(std::tuple(loc.found, loc.output, loc.position), std::tuple(true, 1, 1)) << "counted per output";
    EXPECT_FALSE(FindOutputForPage(outputs, 7).found);

    EXPECT_EQ(PageSpanName(OutputDocument{}), "NoPages");
    EXPECT_EQ(PageSpanName(Output({MakePageRange(0, 5), MakePageRange(10, 3)})), "From_1_To_13");
    EXPECT_EQ(CountOutputPages(Output({MakePageRange(0, 4, PageRangeFlag::EvenPages), MakePageRange(9, 3)})), 7);

    OutputDocument merged = Output({MakePageRange(5, 4), MakePageRange(0, 4), MakePageRange(5, 5)});
    SortAndMergeRanges(merged);
    std::vector<std::pair<int, int>> spans;
    for (const PageRange& r : merged.Ranges) spans.emplace_back(r.FirstPage, r.LastPage);
    EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 3}, {5, 9}})) << "the widest of a start";
}

// Stored areas are reals; the two conversions differ below zero and at the limits.
TEST(Fixed16Test, AddingHalfAndRoundingDifferBelowZeroAndAtTheLimits) {
    const struct {
        double value;
        std::int32_t addingHalf, rounded;
    } cases[] = {
        {72.0, 72 * 65536, 72 * 65536},
        {10.00001, 10 * 65536 + 1, 10 * 65536 + 1},
        {2.5 / 65536, 3, 3},
        {-2.5 / 65536, -2, -3},
        {-2.7 / 65536, -2, -3},
        {-2.2 / 65536, -1, -2},
        {-72.0, -72 * 65536 + 1, -72 * 65536},  // adding half moves every negative whole number up a step
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fixed16::FromRealAddingHalf(c.value).Raw(), c.addingHalf) << c.value;
        EXPECT_EQ(Fixed16::FromRealRounded(c.value).Raw(), c.rounded) << c.value;
    }
    EXPECT_EQ(Fixed16::FromRealAddingHalf(1e10).Raw(), INT32_MAX);
    EXPECT_EQ(Fixed16::FromRealAddingHalf(-1e10).Raw(), INT32_MIN);
    EXPECT_EQ(Fixed16::FromRealAddingHalf(std::numeric_limits<double>::quiet_NaN()).Raw(), INT32_MIN);
}

}  // namespace
}  // namespace tessera
