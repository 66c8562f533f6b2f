// How pages are chosen: the --doc selection syntax, the split options that
// fill the settings, and the "Range of Pages" dialog.
#include "options/SelectionSyntax.h"
#include "options/SplitOptionTable.h"
#include "strings/TextFormat.h"
#include "support/PdfFixture.h"
#include "ui/DialogTestHost.h"
#include "ui/PageRangeDialog.h"

namespace tessera {
namespace {

// Each range as "start+count/options", "q<target>:first[:last][!]" or "c:<kinds>".
std::string Describe(const std::vector<PageRange>& ranges) {
    std::string out;
    for (const PageRange& r : ranges) {
        out += out.empty() ? "" : " ";
        if (r.Query.Enable && r.Query.Target == QueryTarget::QueryPageContent) {
            out += "c";
            for (host::PageElementKind kind : r.Query.PageContentQuery)
                out += ":" + std::to_string(static_cast<int>(kind));
        } else if (r.Query.Enable) {
            out += "q" + std::to_string(static_cast<int>(r.Query.Target)) + ":" + r.Query.FirstPageQuery.Pattern +
                   (r.Query.Target == QueryTarget::QueryPageRanges ? ":" + r.Query.LastPageQuery.Pattern : "") +
                   (r.Query.ExcludeLastPage ? "!" : "");
        } else {
            out += std::to_string(r.StartPage) + "+" + std::to_string(r.NumPages) + "/" +
                   std::to_string(r.Options.Stored() | (r.Watermark ? 8 : 0));
        }
    }
    return out;
}

// Over a document of 12 pages; "error:" rows give the start of the refusal.
TEST(SelectionSyntaxTest, ReadsPagesTextsAndKindsAndSaysWhereItStopped) {
    const struct {
        const char *text, *ranges;
    } cases[] = {
        {"1-3,7", "0+3/0 6+1/0"},
        {"z", "11+1/0"},
        {"9-5", "4+5/4"},
        {"z-1:odd", "0+12/5"},
        {"r2-z:even", "10+2/2"},
        {"r12", "0+1/0"},
        {"2,/x/,4", "1+1/0 q1:x 3+1/0"},
        {"/Chapter/", "q1:Chapter"},
        {"/Chapter/1", "q0:Chapter"},
        {"/a\\/b/", "q1:a/b"},
        {"/Start/../End/", "q3:Start:End"},
        {"/Start/..</End, too/", "q3:Start:End, too!"},
        {"@image", "c:3"},
        {"1,@uri+image+uri+annotation", "0+1/0 c:29:3:35"},
        {"@external-link+link+form", "c:31:30:4"},
        {"2:mark/Dr\\/aft/,1-3:odd:mark/€/", "1+1/8 0+3/9"},
        {"0", "error:at column 1: page 0 is not"},
        {"r13", "error:at column 1: page r13 is not"},
        {"1-13", "error:at column 3: page 13 is not in the document, which has 12"},
        {"1-3,,4", "error:at column 5: expected a page number"},
        {"1-99999999999", "error:at column 3: the page number is too large"},
        {"1:all", "error:at column 3: expected odd or even"},
        {"1 2", "error:at column 2: expected \",\""},
        {"/open", "error:at column 1: the text has no closing"},
        {"//", "error:the text between the slashes is empty"},
        {"@images", "error:at column 2: \"images\" is not a kind"},
        {"@", "error:at column 2: expected a kind"},
        {"@image+", "error:at column 8: expected a kind"},
        {"1:mark/Draft →/", "error:at column 7: \"→\" cannot be drawn"},
    };
    TextQuery flags;
    flags.WholeWords = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<std::vector<PageRange>> ranges = ParseSelection(c.text, 12, flags);
        const std::string expected = c.ranges;
        if (expected.starts_with("error:")) {
            ASSERT_FALSE(ranges);
            EXPECT_NE(ranges.Reason().find(expected.substr(6)), std::string::npos) << ranges.Reason();
            continue;
        }
        ASSERT_TRUE(ranges) << ranges.Reason();
        EXPECT_EQ(Describe(*ranges), expected);
        for (const PageRange& r : *ranges)
            EXPECT_TRUE(!r.Query.Enable || r.Query.Target == QueryTarget::QueryPageContent ||
                        r.Query.FirstPageQuery.WholeWords)
                << "the options' flags apply";
    }
}

// Options in command-line order, applied to fresh settings; the first refusal.
std::string Apply(const std::vector<host::OptionValue>& options, SplitSettings& settings) {
    OptionTargets fields{settings, {}, {}, {}};
    for (const host::OptionValue& option : options)
        if (const Result<> applied = ApplySplitOption(option, fields); !applied) return applied.Reason();
    return "";
}

TEST(SplitOptionTableTest, MeaninglessOrConflictingValuesAreRefusedInOneLine) {
    // Each error by its start; "" for none.
    const struct {
        std::vector<host::OptionValue> options;
        const char* error;
    } cases[] = {
        {{{"doc", "1"}, {"separator", "blank"}}, "--separator: cannot be combined with --doc"},
        {{{"doc", "1"}, {"doc", "2"}, {"separator", "scan"}}, "--separator: cannot be combined with --doc"},
        {{{"bookmarks", "1-99999999999"}}, "--bookmarks: \"99999999999\" in \"1-99999999999\" is too large"},
        {{{"watermark", "Entwurf ✓"}}, "--watermark: \"✓\" cannot be drawn"},
        {{{"area", "0,0,0,0"}, {"equal", "2"}, {"equal", "3"}}, ""},
        {{{"watermark-transparency", "101"}}, "--watermark-transparency: the transparency goes from 0 to 100"},
    };
    for (const auto& c : cases) {
        SplitSettings settings;
        const std::string error = Apply(c.options, settings);
        EXPECT_TRUE(error.starts_with(c.error)) << c.error << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    SplitSettings settings;
    ASSERT_EQ(Apply({{"bookmarks", "5-1"}}, settings), "");
    EXPECT_EQ(settings.SplitMode, SplitMethod::BookmarkLevels);
    EXPECT_EQ(std::pair(settings.Output.StartBookmarkLevel, settings.Output.EndBookmarkLevel), std::pair(1, 5))
        << "levels are taken in order";
}

constexpr ControlId kStart = 1005, kLast = 1006, kCount = 1001, kEven = 1008, kOdd = 1009, kWatermark = 1011,
                    kWatermarkText = 1012, kLine = 1042, kStartFromBookmark = 1040;

class PageRangeDialogTest : public testing::Test {
protected:
    test::DialogTestHost host;
    const DocumentHandle none;  // no document: no bookmarks, no last page
};

TEST_F(PageRangeDialogTest, StartLastAndCountStayConsistentAsTheyAreTyped) {
    // Typed steps and what is then shown as "start-last count".
    const struct {
        const char* name;
        std::vector<std::pair<ControlId, const char*>> steps;
        const char* shown;
    } cases[] = {
        {"a count then a start", {{kCount, "3"}, {kStart, "5"}}, "5-7 3"},
        {"a last before the start", {{kCount, "3"}, {kStart, "5"}, {kLast, "2"}}, "2-2 1"},
        {"start and last", {{kStart, "4"}, {kLast, "9"}}, "4-9 6"},
        {"a count of 0", {{kStart, "4"}, {kCount, "0"}}, "4-4 1"},
        {"the last act wins", {{kStart, "6"}, {kLast, "8"}, {kStart, "9"}, {kCount, "2"}}, "9-10 2"},
    };
    for (const auto& c : cases) {
        test::Opened<PageRangeDialog> d(none, 0);
        for (const auto& [id, text] : c.steps) d.view.Type(id, text);
        EXPECT_EQ(d.view.Text(kStart) + "-" + d.view.Text(kLast) + " " + d.view.Text(kCount), c.shown) << c.name;
    }
}

TEST_F(PageRangeDialogTest, OkNeedsAParityAndPageNumbers) {
    test::Opened<PageRangeDialog> d(none, 0);
    d.view.Click(kEven);
    EXPECT_TRUE(d.view.Enabled(kOkButton));
    d.view.Click(kOdd);
    EXPECT_FALSE(d.view.Enabled(kOkButton));
    d.view.Click(kOdd);
    d.view.Type(kLast, "0");
    EXPECT_FALSE(d.view.Enabled(kOkButton)) << "a last page of 0 takes the start down to 0";
}

TEST_F(PageRangeDialogTest, RefusesWhatMakesNoRange) {
    test::Opened<PageRangeDialog> d(none, 5);
    EXPECT_EQ(d.view.Text(kLine),
              FormatText(LookupString("IDS_THERE_ARE_TOTAL_N_PAGES_IN_CURRENT_DOCUMENT"), {std::int64_t{5}}));
    d.view.Type(kStart, "0");
    EXPECT_FALSE(d.view.PressOk());
    d.view.Type(kStart, "6");
    EXPECT_FALSE(d.view.PressOk());
    d.view.Type(kStart, "2");
    d.view.Click(kEven);  // odd pages only, of the single page 2
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts(),
              (std::vector<std::string>{LookupString("IDS_INVALID_PAGE_NUMBER_SPECIFIED_PAGE_NUMBERS_START_FROM_1"),
                                        FormatText(LookupString("IDS_PAGE_NUMBER_OUT_OF_BOUNDS"), {std::int64_t{5}}),
                                        LookupString("IDS_THERE_ARE_ZERO_PAGES_IN_THIS_RANGE")}));
    d.view.Type(kCount, "4");
    ASSERT_TRUE(d.view.PressOk());
    const PageRange& range = d.dialog.Result();
    EXPECT_EQ(std::tuple(range.StartPage, range.NumPages, range.Options, range.NumActualPages),
              std::tuple(1, 4, PageRangeFlags(PageRangeFlag::OddPages), 2));

    test::Opened<PageRangeDialog> unbounded(none, 0);
    EXPECT_EQ(unbounded.view.Text(kLine), "");
    unbounded.view.Type(kLast, "5000");
    ASSERT_TRUE(unbounded.view.PressOk()) << "without a document any last page is taken";
    EXPECT_EQ(unbounded.dialog.Result().NumPages, 5000);
}

TEST_F(PageRangeDialogTest, WatermarkBitOnlyWithTextAndTheLastTextCarriedOn) {
    std::string last;
    test::Opened<PageRangeDialog> first(none, 0, &last);
    EXPECT_FALSE(first.view.Enabled(kWatermarkText));
    first.view.Click(kWatermark);
    EXPECT_TRUE(first.view.Enabled(kWatermarkText));
    first.view.Type(kWatermarkText, "");
    ASSERT_TRUE(first.view.PressOk());
    EXPECT_EQ(first.dialog.Result().Watermark, std::nullopt);

    test::Opened<PageRangeDialog> second(none, 0, &last);
    second.view.Click(kWatermark);
    second.view.Type(kWatermarkText, "DRAFT");
    ASSERT_TRUE(second.view.PressOk());
    ASSERT_TRUE(second.dialog.Result().Watermark);
    EXPECT_EQ(second.dialog.Result().Watermark->Text, "DRAFT");
    EXPECT_EQ(test::Opened<PageRangeDialog>(none, 0, &last).view.Text(kWatermarkText), "DRAFT");
}

TEST_F(PageRangeDialogTest, AnExistingRangeWithoutParityShowsBothBoxesAndComesBackWhole) {
    PageRange existing = MakePageRange(3, 2, PageRangeFlag::ReverseOrder);
    existing.SubTitle = "kept";
    test::Opened<PageRangeDialog> d(none, 10, existing);
    EXPECT_EQ(d.view.Text(kStart) + "-" + d.view.Text(kLast), "4-5");
    EXPECT_TRUE(d.view.Checked(kEven) && d.view.Checked(kOdd));
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(d.dialog.Result(), existing);
}

TEST_F(PageRangeDialogTest, StartPageFromABookmark) {
    test::Opened<PageRangeDialog>(none, 0).view.Click(kStartFromBookmark);
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_BOOKMARKS_NOT_AVAILABLE"}));

    test::PdfFixture pdf(8);
    pdf.SetChildren({}, {pdf.ItemToPage("five", 4)});
    pdf.Write(host.folder / "outline.pdf");
    const DocumentHandle document(host.OpenActive(host.folder / "outline.pdf"), DocumentHandle::Ownership::Borrowed);
    test::Opened<PageRangeDialog> d(document, 8);
    d.view.Type(kCount, "2");
    d.view.onModal = [](Dialog& picker) {
        MemoryView pickerView(picker);
        pickerView.SelectTreeItem(1036, {0});
        return pickerView.PressOk();
    };
    d.view.Click(kStartFromBookmark);
    EXPECT_EQ(d.view.Text(kStart) + "-" + d.view.Text(kLast), "5-6");
    EXPECT_TRUE(host.TakeAlerts().empty());
}

}  // namespace
}  // namespace tessera
