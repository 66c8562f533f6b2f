#include "ui/SeparatorSearchDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"
#include "ui/TextAreaDialog.h"

namespace tessera {
namespace {

constexpr ControlId kPattern = 1066, kRegExp = 1067, kUseArea = 1125, kEditArea = 1126, kLeft = 1127, kRight = 1128;

TEST(SeparatorSearchDialogTest, TakesAnyNonEmptyPatternWithoutCompilingIt) {
    test::DialogTestHost host;
    TextQuery query;
    query.PrevBreakPage = true;
    SeparatorSearchDialog dialog(query);
    MemoryView view(dialog);
    EXPECT_FALSE(view.PressOk());
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_SEARCH_PATTERN_IS_EMPTY_OR_INVALID"}));
    view.Click(kRegExp);
    view.Type(kPattern, "(");
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().Pattern, "(");
    EXPECT_TRUE(dialog.Result().UseRegExp);
    EXPECT_TRUE(dialog.Result().PrevBreakPage);
}

TEST(SeparatorSearchDialogTest, ShowsAndEditsTheArea) {
    test::DialogTestHost host;
    TextQuery query;
    query.AreaLeft = Fixed16::FromRaw(100 * 65536);
    SeparatorSearchDialog dialog(query);
    MemoryView view(dialog);
    EXPECT_EQ(view.Text(kLeft), "100 pt / 35 mm / 1.39 in");
    EXPECT_FALSE(view.Enabled(kEditArea));
    view.Click(kUseArea);
    EXPECT_TRUE(view.Enabled(kEditArea));
    view.onModal = [](Dialog& area) {
        EXPECT_EQ(area.Caption(), "Extract Text From Page");
        MemoryView areaView(area);
        EXPECT_EQ(areaView.Title(), "Text Search Area");
        areaView.Type(1117, "2");  // inches
        return areaView.PressOk();
    };
    view.Click(kEditArea);
    EXPECT_EQ(view.Text(kRight), "144 pt / 50 mm / 2.00 in");
    view.Type(kPattern, "Invoice");
    ASSERT_TRUE(view.PressOk());
    EXPECT_TRUE(dialog.Result().UseAreaFilter);
    EXPECT_EQ(dialog.Result().AreaRight, Fixed16::FromRaw(144 * 65536));
}

}  // namespace
}  // namespace tessera
