#include "ui/PageRangeDialog.h"

#include <gtest/gtest.h>

#include "strings/TextFormat.h"
#include "support/PdfFixture.h"
#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

constexpr ControlId kStart = 1005, kLast = 1006, kCount = 1001, kEven = 1008, kOdd = 1009, kWatermark = 1011,
                    kText = 1012, kLine = 1042, kStartFromBookmark = 1040;

struct Typing {
    std::vector<std::pair<ControlId, const char*>> steps;
    const char* start;
    const char* last;
    const char* count;
};

class PageNumbersTest : public testing::TestWithParam<Typing> {};

TEST_P(PageNumbersTest, StayConsistent) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRangeDialog dialog(none, 0);
    MemoryView view(dialog);
    for (const auto& [id, text] : GetParam().steps) view.Type(id, text);
    EXPECT_EQ(view.Text(kStart), GetParam().start);
    EXPECT_EQ(view.Text(kLast), GetParam().last);
    EXPECT_EQ(view.Text(kCount), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageNumbersTest,
    testing::Values(Typing{{{kCount, "3"}, {kStart, "5"}}, "5", "7", "3"},
                    Typing{{{kCount, "3"}, {kStart, "5"}, {kLast, "2"}}, "2", "2", "1"},
                    Typing{{{kStart, "4"}, {kLast, "9"}}, "4", "9", "6"},
                    Typing{{{kStart, "4"}, {kCount, "0"}}, "4", "4", "1"},
                    Typing{{{kStart, "6"}, {kLast, "8"}, {kStart, "9"}, {kCount, "2"}}, "9", "10", "2"}));

TEST(PageRangeDialogTest, OkNeedsAParityAndPageNumbers) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRangeDialog dialog(none, 0);
    MemoryView view(dialog);
    EXPECT_TRUE(view.Checked(kEven) && view.Checked(kOdd));
    view.Click(kEven);
    EXPECT_TRUE(view.Enabled(kOkButton));
    view.Click(kOdd);
    EXPECT_FALSE(view.Enabled(kOkButton));
    view.Click(kOdd);
    view.Type(kLast, "0");
    EXPECT_FALSE(view.Enabled(kOkButton)) << "a last page of 0 takes the start down to 0";
}

TEST(PageRangeDialogTest, RefusesWhatMakesNoRange) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRangeDialog dialog(none, 5);
    MemoryView view(dialog);
    EXPECT_EQ(view.Text(kLine), FormatText(LookupString("IDS_THERE_ARE_TOTAL_N_PAGES_IN_CURRENT_DOCUMENT"), {std::int64_t{5}}));
    view.Type(kStart, "0");
    EXPECT_FALSE(view.PressOk());
    view.Type(kStart, "6");
    EXPECT_FALSE(view.PressOk());
    view.Type(kStart, "2");
    view.Click(kEven);  // odd pages only, of the single page 2
    EXPECT_FALSE(view.PressOk());
    EXPECT_EQ(host.TakeAlerts(),
              (std::vector<std::string>{LookupString("IDS_INVALID_PAGE_NUMBER_SPECIFIED_PAGE_NUMBERS_START_FROM_1"),
                                        FormatText(LookupString("IDS_PAGE_NUMBER_OUT_OF_BOUNDS"), {std::int64_t{5}}),
                                        LookupString("IDS_THERE_ARE_ZERO_PAGES_IN_THIS_RANGE")}));
    view.Type(kCount, "4");
    ASSERT_TRUE(view.PressOk());
    const PageRange& range = dialog.Result();
    EXPECT_EQ(range.StartPage, 1);
    EXPECT_EQ(range.NumPages, 4);
    EXPECT_EQ(range.Options, OddPages);
    EXPECT_EQ(range.NumActualPages, 2);
}

TEST(PageRangeDialogTest, WithoutADocumentAnyLastPageIsTaken) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRangeDialog dialog(none, 0);
    MemoryView view(dialog);
    EXPECT_EQ(view.Text(kLine), "");
    view.Type(kLast, "5000");
    EXPECT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().NumPages, 5000);
}

TEST(PageRangeDialogTest, WatermarkBitOnlyWithTextAndTheLastTextCarriedOn) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRangeDialog first(none, 0);
    MemoryView view(first);
    EXPECT_FALSE(view.Enabled(kText));
    view.Click(kWatermark);
    EXPECT_TRUE(view.Enabled(kText));
    view.Type(kText, "");
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(first.Result().Options & AddWatermark, 0);

    PageRangeDialog second(none, 0);
    MemoryView secondView(second);
    secondView.Click(kWatermark);
    secondView.Type(kText, "DRAFT");
    ASSERT_TRUE(secondView.PressOk());
    EXPECT_EQ(second.Result().Options, AddWatermark);
    EXPECT_EQ(second.Result().Watermark, "DRAFT");

    PageRangeDialog third(none, 0);
    EXPECT_EQ(MemoryView(third).Text(kText), "DRAFT");
}

TEST(PageRangeDialogTest, AnExistingRangeWithoutParityShowsBothBoxes) {
    test::DialogTestHost host;
    const DocumentHandle none;
    PageRange existing = MakePageRange(3, 2, ReverseOrder);
    existing.SubTitle = "kept";
    PageRangeDialog dialog(none, 10, existing);
    MemoryView view(dialog);
    EXPECT_EQ(view.Text(kStart), "4");
    EXPECT_EQ(view.Text(kLast), "5");
    EXPECT_TRUE(view.Checked(kEven) && view.Checked(kOdd));
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result(), existing);
}

TEST(PageRangeDialogTest, StartPageFromABookmark) {
    test::DialogTestHost host;
    {
        const DocumentHandle none;
        PageRangeDialog dialog(none, 0);
        MemoryView view(dialog);
        view.Click(kStartFromBookmark);
        EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_BOOKMARKS_NOT_AVAILABLE"}));
    }
    test::PdfFixture pdf(8);
    pdf.SetChildren({}, {pdf.ItemToPage("five", 4)});
    pdf.Write(host.folder / "outline.pdf");
    const DocumentHandle document(host.OpenActive(host.folder / "outline.pdf"), DocumentHandle::Ownership::Borrowed);
    PageRangeDialog dialog(document, 8);
    MemoryView view(dialog);
    view.Type(kCount, "2");
    view.onModal = [](Dialog& picker) {
        MemoryView pickerView(picker);
        pickerView.SelectTreeItem(1036, {0});
        return pickerView.PressOk();
    };
    view.Click(kStartFromBookmark);
    EXPECT_EQ(view.Text(kStart), "5");
    EXPECT_EQ(view.Text(kLast), "6");
    EXPECT_TRUE(host.TakeAlerts().empty());
}

}  // namespace
}  // namespace tessera
