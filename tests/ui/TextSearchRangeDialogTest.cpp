#include "ui/TextSearchRangeDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

constexpr ControlId kSinglePage = 1071, kPageSet = 1072, kPageRanges = 1073, kFirstGroup = 1075, kFirst = 1065,
                    kFirstRegExp = 1062, kLast = 1066, kExcludeLast = 1070;

struct SearchCase {
    ControlId radio;
    const char* first;
    const char* last;
    bool accepted;
};

class TextSearchOkTest : public testing::TestWithParam<SearchCase> {};

// The patterns must compile as regular expressions even when they are searched as plain text.
TEST_P(TextSearchOkTest, NeedsThePatternsTheModeUses) {
    test::DialogTestHost host;
    TextSearchRangeDialog dialog{PageQuery{}};
    MemoryView view(dialog);
    view.Click(GetParam().radio);
    view.Type(kFirst, GetParam().first);
    view.Type(kLast, GetParam().last);
    EXPECT_EQ(view.PressOk(), GetParam().accepted);
    EXPECT_EQ(host.TakeAlerts().size(), GetParam().accepted ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextSearchOkTest,
                         testing::Values(SearchCase{kSinglePage, "(", "", false},
                                         SearchCase{kSinglePage, "", "x", false},
                                         SearchCase{kPageSet, "Invoice", "", true},
                                         SearchCase{kPageRanges, "Start", "", false},
                                         SearchCase{kPageRanges, "Start", "End[", false},
                                         SearchCase{kPageRanges, "Start", "End", true}));

TEST(TextSearchRangeDialogTest, TheModeGovernsTheLastPageControls) {
    test::DialogTestHost host;
    PageQuery query;
    query.Target = QueryTarget::QueryPageRanges;
    query.FirstPageQuery.Pattern = "Start";
    query.LastPageQuery.Pattern = "End";
    query.FirstPageQuery.UseRegExp = true;
    TextSearchRangeDialog dialog(query);
    MemoryView view(dialog);
    EXPECT_TRUE(view.Checked(kPageRanges));
    EXPECT_TRUE(view.Checked(kFirstRegExp));
    EXPECT_TRUE(view.Enabled(kExcludeLast));
    EXPECT_EQ(view.Text(kFirstGroup), "Search for First Page of the Range");
    view.Click(kSinglePage);
    EXPECT_FALSE(view.Enabled(kLast));
    EXPECT_EQ(view.Text(kFirstGroup), "Search for Matching Page(s)");
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().Target, QueryTarget::QuerySinglePage);
    EXPECT_TRUE(dialog.Result().Enable);
    EXPECT_EQ(dialog.Result().LastPageQuery.Pattern, "End") << "kept though no longer used";
}

}  // namespace
}  // namespace tessera
