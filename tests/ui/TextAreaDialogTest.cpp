#include "ui/TextAreaDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

constexpr ControlId kLeft = 1116, kRight = 1117, kTop = 1118, kUnits = 1114;

Fixed16 Points(double points) { return Fixed16::FromRealAddingHalf(points); }

TEST(TextAreaDialogTest, SwappedEdgesAreStoredInOrderAndShownSoNextTime) {
    test::DialogTestHost host;
    TextAreaDialog dialog({}, "", "why");
    MemoryView view(dialog);
    EXPECT_EQ(view.Title(), "Extract Text From Page");
    EXPECT_EQ(view.SelectedListData(kUnits), 0) << "inches until another unit is chosen";
    view.Type(kLeft, "5");
    view.Type(kRight, "1");
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().left, Points(72));
    EXPECT_EQ(dialog.Result().right, Points(360));

    TextAreaDialog again(dialog.Result(), "", "why");
    MemoryView againView(again);
    EXPECT_EQ(againView.Text(kLeft), "1.00");
    EXPECT_EQ(againView.Text(kRight), "5.00");
}

struct UnitCase {
    int unit;
    const char* shown;  // 100 points
    double onePoints;   // what "1" means
};

class TextAreaUnitTest : public testing::TestWithParam<UnitCase> {};

// A number shown is read in the unit chosen at OK, not converted when the
// unit changes; the unit is kept for next time, and each unit rounds its own way.
TEST_P(TextAreaUnitTest, ReadsAndShowsInTheChosenUnit) {
    test::DialogTestHost host;
    TextAreaDialog dialog({Points(72), {}, Points(72), {}}, "", "");
    MemoryView view(dialog);
    ASSERT_EQ(view.Text(kLeft), "1.00");
    view.Choose(kUnits, GetParam().unit);
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().left, Points(GetParam().onePoints));

    TextAreaDialog next({Points(100), Points(100), Points(100), Points(100)}, "", "");
    MemoryView nextView(next);
    EXPECT_EQ(nextView.SelectedListData(kUnits), GetParam().unit);
    EXPECT_EQ(nextView.Text(kTop), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextAreaUnitTest,
                         testing::Values(UnitCase{0, "1.39", 72}, UnitCase{1, "3.53", 28.3},
                                         UnitCase{2, "35.3", 2.8}, UnitCase{3, "100.0", 1}));

TEST(TextAreaDialogTest, RefusesNumbersOutOfRange) {
    test::DialogTestHost host;
    TextAreaDialog dialog({}, "", "");
    MemoryView view(dialog);
    for (const char* text : {"-1", "100001", "two"}) {
        view.Type(kLeft, text);
        EXPECT_FALSE(view.PressOk()) << text;
    }
    EXPECT_EQ(host.TakeAlerts().size(), 3u);
}

}  // namespace
}  // namespace tessera
