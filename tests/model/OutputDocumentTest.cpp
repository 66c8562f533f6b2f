#include "model/OutputDocument.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

OutputDocument Output(std::initializer_list<PageRange> ranges) {
    OutputDocument out;
    out.Ranges = ranges;
    return out;
}

TEST(OutputDocumentTest, PagePositionFollowsRangesAndReverseOrder) {
    const OutputDocument out = Output({MakePageRange(3, 4, EvenPages | ReverseOrder),  // pages 6, 4 (0-based 5, 3)
                                       MakePageRange(0, 2, 0)});                       // pages 0, 1
    EXPECT_EQ(FindPagePosition(out, 5), 0);
    EXPECT_EQ(FindPagePosition(out, 3), 1);
    EXPECT_EQ(FindPagePosition(out, 4), -1);
    EXPECT_EQ(FindPagePosition(out, 0), 2);
    EXPECT_EQ(FindPagePosition(out, 1), 3);
    EXPECT_EQ(FindPagePosition(out, 9), -1);
}

TEST(OutputDocumentTest, PageTakenTwiceIsFoundInTheFirstRange) {
    const OutputDocument out = Output({MakePageRange(0, 3, 0), MakePageRange(1, 1, 0)});
    EXPECT_EQ(FindPagePosition(out, 1), 1);
}

TEST(OutputDocumentTest, UncomputedRangeTakesNoPage) {
    OutputDocument out;
    PageRange r;
    r.StartPage = 0;
    r.NumPages = 5;
    out.Ranges.push_back(r);  // Step 0: never computed
    EXPECT_EQ(FindPagePosition(out, 0), -1);
}

TEST(OutputDocumentTest, OutputForPageRestartsOffsetsPerOutput) {
    const OutputList outputs = {Output({MakePageRange(0, 3, 0)}), Output({MakePageRange(3, 2, 0)})};
    const PageLocation loc = FindOutputForPage(outputs, 4);
    EXPECT_TRUE(loc.found);
    EXPECT_EQ(loc.output, 1);
    EXPECT_EQ(loc.position, 1);
    EXPECT_FALSE(FindOutputForPage(outputs, 7).found);
}

TEST(OutputDocumentTest, SpanNameAndNominalCount) {
    EXPECT_EQ(PageSpanName(OutputDocument{}), "NoPages");
    const OutputDocument out = Output({MakePageRange(0, 5, 0), MakePageRange(10, 3, 0)});
    EXPECT_EQ(PageSpanName(out), "From_1_To_13");
    EXPECT_EQ(CountOutputPages(Output({MakePageRange(0, 4, EvenPages), MakePageRange(9, 3, 0)})), 7);
}

TEST(OutputDocumentTest, SortAndMergeKeepsTheWidestOfEachStart) {
    OutputDocument out = Output({MakePageRange(5, 4, 0), MakePageRange(0, 4, 0), MakePageRange(5, 5, 0)});
    SortAndMergeRanges(out);
    ASSERT_EQ(out.Ranges.size(), 2u);
    EXPECT_EQ(out.Ranges[0].FirstPage, 0);
    EXPECT_EQ(out.Ranges[0].LastPage, 3);
    EXPECT_EQ(out.Ranges[1].FirstPage, 5);
    EXPECT_EQ(out.Ranges[1].LastPage, 9);
}

}  // namespace
}  // namespace tessera
