#include "model/PageRange.h"

#include <gtest/gtest.h>

#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

struct ActualPagesCase {
    const char* name;
    int start, count, options;
    int first, last, actual, step, optionsAfter;
};

class ComputeActualPagesTest : public testing::TestWithParam<ActualPagesCase> {};

TEST_P(ComputeActualPagesTest, DerivesThePagesTaken) {
    const ActualPagesCase& c = GetParam();
    PageRange r = MakePageRange(c.start, c.count, c.options);
    EXPECT_EQ(r.FirstPage, c.first);
    EXPECT_EQ(r.LastPage, c.last);
    EXPECT_EQ(r.NumActualPages, c.actual);
    EXPECT_EQ(r.Step, c.step);
    EXPECT_EQ(r.Options, c.optionsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputeActualPagesTest,
    testing::Values(ActualPagesCase{"AllPages", 0, 10, 0, 0, 9, 10, 1, 0},
                    ActualPagesCase{"EvenOfTen", 0, 10, EvenPages, 1, 9, 5, 2, EvenPages},
                    ActualPagesCase{"EvenOfOnePageNone", 0, 1, EvenPages, 2, 1, 0, 2, EvenPages},
                    ActualPagesCase{"OddOnlyEvenPageNone", 5, 1, OddPages, 7, 6, 0, 2, OddPages},
                    ActualPagesCase{"OddFiveAndSeven", 3, 4, OddPages, 4, 6, 2, 2, OddPages},
                    ActualPagesCase{"BothParitiesMeanAll", 2, 3, OddPages | EvenPages | ReverseOrder, 2, 4, 3, 1,
                                    ReverseOrder},
                    ActualPagesCase{"EmptySpan", 4, 0, 0, 5, 4, 0, 1, 0},
                    ActualPagesCase{"HugeValuesDoNotOverflow", 2147483000, 1000, 0, 2147483000, 2147483646, 647, 1, 0},
                    ActualPagesCase{"LastStartClampsBelowTheTop", INT32_MAX, 0, EvenPages, INT32_MAX, INT32_MAX - 1, 0,
                                    2, EvenPages},
                    ActualPagesCase{"FirstStartClampsAboveTheBottom", INT32_MIN, -5, 0, INT32_MIN + 1, INT32_MIN, 0, 1,
                                    0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageRangeTest, ResetKeepsTextsAndQuery) {
    PageRange r = MakePageRange(3, 4, OddPages | AddWatermark);
    r.Watermark = "Draft";
    r.SubTitle = "Intro: ";
    r.Query.Enable = true;
    ResetPageFields(r);
    EXPECT_EQ(r.StartPage, 0);
    EXPECT_EQ(r.NumPages, 0);
    EXPECT_EQ(r.Options, 0);
    EXPECT_EQ(r.NumActualPages, 0);
    EXPECT_EQ(r.Step, 0);
    EXPECT_EQ(r.Watermark, "Draft");
    EXPECT_EQ(r.SubTitle, "Intro: ");
    EXPECT_TRUE(r.Query.Enable);
}

TEST(PageRangeTest, DescriptionUsesNominalSpanAndOptions) {
    const test::ScopedLanguageTable table;
    PageRange r = MakePageRange(4, 6, OddPages | ReverseOrder);
    EXPECT_EQ(DescribePageRange(r), "Odd Pages from 5 to 10 (3 pages), Reverse Order");

    PageRange both = MakePageRange(0, 1, OddPages | EvenPages);
    EXPECT_EQ(DescribePageRange(both), "All Pages from 1 to 1 (1 page)");

    PageRange marked = MakePageRange(1, 4, EvenPages | AddWatermark);
    marked.Watermark = "Copy";
    marked.SubTitle = "Chapter 2: ";
    EXPECT_EQ(DescribePageRange(marked), "Chapter 2: Even Pages from 2 to 5 (2 pages), Watermark: Copy");

    marked.Watermark.clear();  // a watermark without text is not mentioned
    EXPECT_EQ(DescribePageRange(marked), "Chapter 2: Even Pages from 2 to 5 (2 pages)");
}

TEST(PageRangeTest, QueryRangeIsDescribedByItsQuery) {
    const test::ScopedLanguageTable table;
    PageRange r;
    r.Query.Enable = true;
    r.Query.Target = QueryTarget::QueryPageRanges;
    r.Query.FirstPageQuery.Pattern = "Chapter";
    r.Query.LastPageQuery.Pattern = "Summary";
    EXPECT_EQ(DescribePageRange(r), "Query Page Range Matching \"Chapter\" And \"Summary\"");

    r.Query.Target = QueryTarget::QueryPageContent;
    r.Query.PageContentQuery = {host::PageElementKind::Image, host::PageElementKind::WebLink};
    EXPECT_EQ(DescribePageRange(r), "Query Set of Pages Containing: Image, Web Link ");

    r.Query.Target = QueryTarget{9};  // unknown targets read as single-page queries
    EXPECT_EQ(DescribePageRange(r), "Query Single Page Matching \"Chapter\"");
}

TEST(PageQueryTest, Completeness) {
    PageQuery q;
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

}  // namespace
}  // namespace tessera
