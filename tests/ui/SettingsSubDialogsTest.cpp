// The dialogs the settings dialog opens: bookmark picker, text area, text
// searches, output document options, element content and blank-page settings.
#include <cmath>

#include "engine/BookmarkTarget.h"
#include "reading/ShownPageSize.h"
#include "support/PdfFixture.h"
#include "ui/AreaUnits.h"
#include "ui/BlankImageSettingsDialog.h"
#include "ui/BookmarkPickerDialog.h"
#include "ui/CodeSeparatorDialog.h"
#include "ui/DialogTestHost.h"
#include "ui/ElementContentDialog.h"
#include "ui/NameTemplateDialog.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/SeparatorSearchDialog.h"
#include "ui/SheetSeparatorDialog.h"
#include "ui/TextAreaDialog.h"
#include "ui/TextSearchRangeDialog.h"
#include "ui/ValueChangeDialog.h"

namespace tessera {
namespace {

constexpr ControlId kTree = 1036;
using Icon = BookmarkPickerDialog::Icon;
using Picker = test::Opened<BookmarkPickerDialog>;

// "web" opens a web address and holds "inner", which leads to page 3; "plain" leads to page 5.
TEST(BookmarkPickerDialogTest, ShowsNestedItemsRefusesWhatLeadsNowhereAndTakesADoubleClick) {
    test::DialogTestHost host;
    test::PdfFixture pdf(6);
    QPDFObjectHandle web = pdf.Item("web");
    web.replaceKey("/A", QPDFObjectHandle::parse("<< /S /URI /URI (https://example.org) >>"));
    pdf.SetChildren(web, {pdf.ItemToPage("inner", 2)});
    pdf.SetChildren({}, {web, pdf.ItemToPage("plain", 4)});
    pdf.Write(host.folder / "outline.pdf");
    const DocumentHandle document(host.OpenActive(host.folder / "outline.pdf"), DocumentHandle::Ownership::Borrowed);
    Picker d(document);
    EXPECT_FALSE(d.view.Closed());
    const std::vector<TreeNode>& tree = d.view.State(kTree).tree;
    ASSERT_TRUE(tree.size() == 2 && tree[0].children.size() == 1);
    EXPECT_EQ(std::tuple(tree[0].text, tree[0].icon, tree[0].children[0].text, tree[0].children[0].icon, tree[1].icon),
              std::tuple("web", Icon::NotUsable, "inner", Icon::Usable, Icon::Usable));

    EXPECT_FALSE(d.view.PressOk());
    d.view.SelectTreeItem(kTree, {0});
    EXPECT_FALSE(d.view.PressOk());
    d.view.SelectTreeItem(kTree, {0, 3});
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_NO_BOOKMARK_IS_SELECTED", "IDS_BOOKMARK_POINTS_OUTSIDE",
                                             "IDS_SELECTED_BOOKMARK_IS_INVALID"}));
    d.view.SelectTreeItem(kTree, {0, 0});
    d.view.Activate(kTree);
    ASSERT_TRUE(d.view.Closed());
    EXPECT_EQ(GetBookmarkTargetPage(document, d.dialog.Result()), 2);

    const DocumentHandle without(host.OpenActive("multicolumn-latex-2col.pdf"), DocumentHandle::Ownership::Borrowed);
    EXPECT_TRUE(Picker(without).view.Closed()) << "a document without bookmarks closes it at once";
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_NO_BOOKMARKS_EXIST"}));
}

TEST(NameTemplateDialogTest, ShowsTheFirstNamesAndRefusesWhatCannotBeRead) {
    test::DialogTestHost host;
    const DocumentHandle document(host.OpenActive("multicolumn-latex-2col.pdf"), DocumentHandle::Ownership::Borrowed);
    constexpr ControlId kTemplate = 1202, kExample = 1204;
    test::Opened<NameTemplateDialog> d(std::string("{input}/{n:03}"), std::string(), document, SplitSettings{});
    EXPECT_EQ(d.view.Text(kExample),
              "Example: multicolumn-latex-2col/001.pdf, multicolumn-latex-2col/002.pdf, "
              "multicolumn-latex-2col/003.pdf");
    d.view.Type(kTemplate, "p{from");
    EXPECT_NE(d.view.Text(kExample).find("column 2"), std::string::npos) << d.view.Text(kExample);
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts().size(), 1u);
    d.view.Type(kTemplate, "p{from}");
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(d.dialog.Template(), "p{from}");

    // A code split's example names the outputs the run makes, with their codes (made safe).
    const DocumentHandle coded(host.OpenActive("code-sheet-qr-and-code128.pdf"), DocumentHandle::Ownership::Borrowed);
    SplitSettings codes;
    codes.SplitMode = SplitMethod::SeparatorPages, codes.Output.SeparatorType = SeparatorKind::PageWithCode;
    test::Opened<NameTemplateDialog> c(std::string("{n}-{code}"), std::string(), coded, codes);
    EXPECT_EQ(c.view.Text(kExample), "Example: 1-.pdf, 2-https:__example.com_track?id=77.pdf");
}

TEST(ValueChangeDialogTest, TakesTheValueItsRulesAndRefusesWhatCannotBeRead) {
    test::DialogTestHost host;
    constexpr ControlId kKind = 1211, kPattern = 1214, kMissing = 1216, kGroup = 1217;
    test::Opened<ValueChangeDialog> d(OutputSettings{});
    EXPECT_FALSE(d.view.PressOk()) << "the text in an area needs an area";
    d.view.Choose(kKind, 1);
    EXPECT_FALSE(d.view.PressOk()) << "a pattern needs a pattern";
    d.view.Type(kPattern, "Invoice (");
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts().size(), 3u);
    d.view.Type(kPattern, "Invoice (\\d+)");
    d.view.Choose(kMissing, 1);
    d.view.Click(kGroup);
    ASSERT_TRUE(d.view.PressOk());
    const OutputSettings& r = d.dialog.Result();
    EXPECT_EQ(std::tuple(r.ChangeKey, r.SeparatorQuery.Pattern, r.SeparatorQuery.UseRegExp, r.MissingKeyStartsNew,
                         r.GroupSameKey),
              std::tuple(ChangeKeyKind::PatternMatch, std::string("Invoice (\\d+)"), true, true, true));
}

TEST(CodeSeparatorDialogTest, TakesAPatternThatCompilesOrNoneAndAtLeastOneKindOfCode) {
    test::DialogTestHost host;
    test::Opened<CodeSeparatorDialog> d(OutputSettings{});
    d.view.Type(1222, "DOC-(");
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts().size(), 1u);
    d.view.Type(1222, "");
    for (ControlId kind = 1224; kind <= 1230; ++kind) d.view.Click(kind);
    EXPECT_FALSE(d.view.PressOk()) << "no kind of code";
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_NO_CODE_KINDS"}));
    d.view.Click(1224);
    d.view.Click(1226);
    ASSERT_TRUE(d.view.PressOk()) << "no pattern: any code";
    const OutputSettings& r = d.dialog.Result();
    EXPECT_TRUE(r.SeparatorQuery.UseRegExp && r.SeparatorQuery.Pattern.empty());
    EXPECT_EQ(r.CodeKinds, static_cast<std::int32_t>(host::kQrCode | host::kCode128));
}

TEST(SheetSeparatorDialogTest, TakesAColourAToleranceAndAShareWithinTheirRanges) {
    test::DialogTestHost host;
    test::Opened<SheetSeparatorDialog> d(OutputSettings{});
    EXPECT_EQ(d.view.Text(1231) + " " + d.view.Text(1232) + " " + d.view.Text(1233), "#000000 64 95");
    for (const auto& [id, text] : {std::pair{1231, "gelb"}, {1232, "0"}, {1233, "101"}, {1234, "-1"}}) {
        test::Opened<SheetSeparatorDialog> bad(OutputSettings{});
        bad.view.Type(id, text);
        EXPECT_FALSE(bad.view.PressOk()) << text;
    }
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_SHEET_COLOUR_INVALID", "IDS_SHEET_TOLERANCE_INVALID",
                                             "IDS_SHEET_SHARE_INVALID", "IDS_SHEET_SAMPLE_INVALID"}));
    // White paper is what printed pages share: refused, unless a sample sheet gives the colour.
    d.view.Type(1231, "#F0F0F0");
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_NE(host.TakeAlerts().at(0).find("#F0F0F0"), std::string::npos);
    d.view.Type(1234, "3");
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(d.dialog.Result().SheetSamplePage, 3);
    // A name brings the colour and tolerance measured on scanned paper.
    test::Opened<SheetSeparatorDialog> named(OutputSettings{});
    named.view.Type(1231, "yellow");
    EXPECT_EQ(named.view.Text(1235), "#FAEB6E") << "the swatch shows what the name means";
    named.view.Type(1231, "yelow");
    EXPECT_EQ(named.view.Text(1235), "");
    named.view.Type(1231, "yellow");
    ASSERT_TRUE(named.view.PressOk());
    EXPECT_EQ(named.dialog.Result().SheetColour, 0xFAEB6E);
    EXPECT_EQ(named.dialog.Result().SheetTolerance, 56);
}

constexpr ControlId kAreaLeft = 1116, kAreaRight = 1117, kAreaTop = 1118, kUnits = 1114;
using TextArea = test::Opened<TextAreaDialog>;

Fixed16 Points(double points) { return Fixed16::FromRealAddingHalf(points); }

TEST(TextAreaDialogTest, EdgesOutOfOrderAndNumbersOutOfRangeAreRefused) {
    test::DialogTestHost host;
    TextArea d(PageArea{}, "", "why");
    d.view.Type(kAreaLeft, "5");
    d.view.Type(kAreaRight, "1");
    EXPECT_FALSE(d.view.PressOk()) << "said, as every route says it, not swapped";
    d.view.Type(kAreaRight, "6");
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(std::pair(d.dialog.Result().left, d.dialog.Result().right), std::pair(Points(360), Points(432)));
    TextArea again(d.dialog.Result(), "", "why");
    EXPECT_EQ(again.view.Text(kAreaLeft) + " " + again.view.Text(kAreaRight), "5.00 6.00");

    for (const char* text : {"-1", "100001", "two"}) {
        again.view.Type(kAreaLeft, text);
        EXPECT_FALSE(again.view.PressOk()) << text;
    }
    EXPECT_EQ(host.TakeAlerts().size(), 4u);
}

// Over a document, an area drawn on a page's picture gives its edges (in
// the unit chosen), edges typed move the rectangle drawn, and the words
// inside are shown; another page can be drawn on.
TEST(TextAreaDialogTest, AnAreaDrawnOnThePageGivesItsEdgesAndShowsItsWords) {
    constexpr ControlId kPicture = 1119, kPage = 1120, kWords = 1121;
    test::DialogTestHost host;
    const DocumentHandle document(host.OpenActive(test::DataFile("multicolumn-latex-2col.pdf")),
                                  DocumentHandle::Ownership::Borrowed);
    TextArea d(PageArea{}, "", "why", &document);
    const MemoryView::Control& page = d.view.State(kPicture);
    ASSERT_TRUE(page.picture.width > 100 && page.picture.width <= 360 && page.picture.height <= 440);
    const double scale = page.picture.width / ShownPageSize(document, 0).width;
    d.view.Choose(kUnits, static_cast<int>(AreaUnit::Points));
    const PixelRect drawn{10, 20, page.picture.width - 10, page.picture.height / 3};
    d.view.DrawArea(kPicture, drawn);
    const std::string words = d.view.Text(kWords);
    EXPECT_TRUE(words.starts_with(LookupString("IDS_AREA_WORDS").substr(0, 8)) && words.size() > 20) << words;
    d.view.DrawArea(kPicture, {1, 1, 3, 3});
    EXPECT_EQ(d.view.Text(kWords), LookupString("IDS_AREA_NO_WORDS")) << "a corner of the margin";
    d.view.DrawArea(kPicture, drawn);
    d.view.Type(kAreaLeft, "72");
    EXPECT_EQ(page.area->left, static_cast<int>(std::lround(72 * scale))) << "the rectangle follows the edges typed";
    const std::vector<std::uint8_t> first = page.picture.rgb;
    d.view.Type(kPage, "9");
    EXPECT_EQ(page.picture.rgb, first) << "no such page: the page stays";
    d.view.Type(kPage, "2");
    EXPECT_NE(page.picture.rgb, first);
    ASSERT_TRUE(d.view.PressOk());
    const PageArea& area = d.dialog.Result();
    EXPECT_NEAR(area.left.Real(), 72, 0.01);
    EXPECT_NEAR(area.top.Real(), drawn.top / scale, 0.5);
    EXPECT_NEAR(area.right.Real(), drawn.right / scale, 0.5);
    EXPECT_NEAR(area.bottom.Real(), drawn.bottom / scale, 0.5);
}

// A number shown is read in the unit chosen at OK, not converted when the
// unit changes; the unit is kept for next time, and each unit rounds its own way.
// Each row: how 100 points are shown, and what "1" means in points.
TEST(TextAreaDialogTest, ReadsAndShowsInTheChosenUnit) {
    const struct {
        const char* name;
        int unit;
        const char* shown;
        double onePoints;
    } cases[] = {{"inches", 0, "1.39", 72},
                 {"centimetres", 1, "3.53", 28.3},
                 {"millimetres", 2, "35.3", 2.8},
                 {"points", 3, "100.0", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::DialogTestHost host;  // its settings store starts in inches
        TextArea d(PageArea{Points(72), {}, Points(72), {}}, "", "");
        ASSERT_EQ(d.view.Text(kAreaLeft), "1.00");
        d.view.Choose(kUnits, c.unit);
        ASSERT_TRUE(d.view.PressOk());
        EXPECT_EQ(d.dialog.Result().left, Points(c.onePoints));
        TextArea next(PageArea{Points(100), Points(100), Points(100), Points(100)}, "", "");
        EXPECT_EQ(next.view.SelectedListData(kUnits), c.unit);
        EXPECT_EQ(next.view.Text(kAreaTop), c.shown);
    }
}

constexpr ControlId kSinglePage = 1071, kPageSet = 1072, kPageRanges = 1073, kFirstGroup = 1075, kFirst = 1065,
                    kFirstRegExp = 1062, kLastPattern = 1066, kLastRegExp = 1067, kExcludeLast = 1070;
using TextSearch = test::Opened<TextSearchRangeDialog>;

// The patterns must compile as they will be searched: plain text is taken as it stands.
TEST(TextSearchRangeDialogTest, TheModeGovernsWhichPatternsOkNeedsAndTheLastPageControls) {
    test::DialogTestHost host;
    const struct {
        const char* name;
        ControlId radio;
        const char *first, *last;
        bool regex, accepted;
    } cases[] = {
        {"an unbalanced first", kSinglePage, "(", "", true, false},
        {"\"(\" as plain text", kSinglePage, "(", "", false, true},
        {"no first", kSinglePage, "", "x", false, false},
        {"a page set", kPageSet, "Invoice", "", false, true},
        {"no last", kPageRanges, "Start", "", false, false},
        {"an unbalanced last", kPageRanges, "Start", "End[", true, false},
        {"ranges", kPageRanges, "Start", "End", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextSearch d(PageQuery{});
        d.view.Click(c.radio);
        d.view.Type(kFirst, c.first);
        d.view.Type(kLastPattern, c.last);
        if (c.regex) d.view.Click(kFirstRegExp), d.view.Click(kLastRegExp);
        EXPECT_EQ(d.view.PressOk(), c.accepted);
        EXPECT_EQ(host.TakeAlerts().size(), c.accepted ? 0u : 1u);
    }

    PageQuery query;
    query.Target = QueryTarget::QueryPageRanges;
    query.FirstPageQuery.Pattern = "Start";
    query.LastPageQuery.Pattern = "End";
    query.FirstPageQuery.UseRegExp = true;
    TextSearch d(query);
    EXPECT_TRUE(d.view.Checked(kPageRanges) && d.view.Checked(kFirstRegExp) && d.view.Enabled(kExcludeLast));
    EXPECT_EQ(d.view.Text(kFirstGroup), "Search for First Page of the Range");
    d.view.Click(kSinglePage);
    EXPECT_FALSE(d.view.Enabled(kLastPattern));
    EXPECT_EQ(d.view.Text(kFirstGroup), "Search for Matching Page(s)");
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_TRUE(d.dialog.Result().Enable && d.dialog.Result().Target == QueryTarget::QuerySinglePage);
    EXPECT_EQ(d.dialog.Result().LastPageQuery.Pattern, "End") << "kept though no longer used";
}

constexpr ControlId kPattern = 1066, kRegExp = 1067, kUseArea = 1125, kEditArea = 1126, kLeftShown = 1127,
                    kRightShown = 1128;

TEST(SeparatorSearchDialogTest, TakesAnyNonEmptyPatternWithoutCompilingItAndEditsTheArea) {
    test::DialogTestHost host;
    TextQuery query;
    query.PrevBreakPage = true;
    query.Area.left = Fixed16::FromRaw(100 * 65536);
    test::Opened<SeparatorSearchDialog> d(query);
    EXPECT_EQ(d.view.Text(kLeftShown), "100 pt / 35 mm / 1.39 in");
    EXPECT_FALSE(d.view.Enabled(kEditArea));
    EXPECT_FALSE(d.view.PressOk());
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_SEARCH_PATTERN_IS_EMPTY_OR_INVALID"}));
    d.view.Click(kUseArea);
    EXPECT_TRUE(d.view.Enabled(kEditArea));
    d.view.onModal = [](Dialog& area) {
        MemoryView areaView(area);
        areaView.Type(kAreaRight, "2");  // inches
        return areaView.PressOk();
    };
    d.view.Click(kEditArea);
    EXPECT_EQ(d.view.Text(kRightShown), "144 pt / 50 mm / 2.00 in");
    d.view.Click(kRegExp);
    d.view.Type(kPattern, "(");
    ASSERT_TRUE(d.view.PressOk());
    const TextQuery& result = d.dialog.Result();
    EXPECT_TRUE(result.Pattern == "(" && result.UseRegExp && result.PrevBreakPage && result.UseAreaFilter);
    EXPECT_EQ(result.Area.right, Fixed16::FromRaw(144 * 65536));
}

constexpr ControlId kAutomatic = 1111, kCustom = 1112, kName = 1113;
using DocumentOptions = test::Opened<OutputDocumentOptionsDialog>;

TEST(OutputDocumentOptionsDialogTest, ChecksTheNameOnlyWhenItIsUsed) {
    test::DialogTestHost host;
    // The alert's key, none when accepted.
    const struct {
        const char* name;
        ControlId radio;
        std::string text;
        const char* alertKey;
    } cases[] = {
        {"plain", kCustom, "Part 2_final", nullptr},
        {"a hyphen", kCustom, "Part-1", nullptr},
        {"accents", kCustom, "Résumé", nullptr},
        {"256 characters", kCustom, std::string(256, 'a'), nullptr},
        {"257 characters", kCustom, std::string(257, 'a'), "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
        {"256 characters of 257 bytes", kCustom, std::string(192, 'e') + "\u00e9" + std::string(63, 'e'), nullptr},
        {"a slash", kCustom, "part/2", "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
        {"a dot", kCustom, "part.2", "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
        {"empty", kCustom, "", "IDS_FILENAME_CANT_BE_EMPTY"},
        {"automatic ignores the name", kAutomatic, "part.2", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentOptions d(true, "Old");
        d.view.Type(kName, c.text);
        d.view.Click(c.radio);
        const bool accepted = c.alertKey == nullptr;
        EXPECT_EQ(d.view.PressOk(), accepted);
        EXPECT_EQ(host.TakeAlerts(), accepted ? std::vector<std::string>{} : host.Texts({c.alertKey}));
        EXPECT_TRUE(!accepted || d.dialog.CustomName() == (c.radio == kCustom));
    }
    DocumentOptions empty(true, "");
    EXPECT_TRUE(empty.view.Checked(kAutomatic)) << "an empty custom name opens as automatic";
    EXPECT_FALSE(empty.view.Enabled(kName));
    empty.view.Click(kCustom);
    EXPECT_TRUE(empty.view.Enabled(kName));
}

TEST(ElementContentDialogTest, KindsInTheFixedOrderAndUnknownOnesDropped) {
    using enum host::PageElementKind;
    constexpr ControlId kImageBox = 1077, kStampBox = 1095, kWebLinkBox = 1089;
    test::DialogTestHost host;
    PageQuery query;
    query.PageContentQuery = {WebLink, PlaySound};
    test::Opened<ElementContentDialog> d(query);
    EXPECT_TRUE(d.view.Checked(kWebLinkBox));
    d.view.Click(kWebLinkBox);
    d.view.Click(kStampBox);
    d.view.Click(kImageBox);
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(d.dialog.Result().PageContentQuery, (std::vector{Image, Stamp}));
    EXPECT_TRUE(d.dialog.Result().Enable);

    test::Opened<ElementContentDialog> none(query);
    none.view.Click(kWebLinkBox);
    ASSERT_TRUE(none.view.PressOk());
    EXPECT_FALSE(none.dialog.Result().Enable) << "no kind chosen, no query";
}

TEST(BlankImageSettingsDialogTest, ClampsOpensAndResets) {
    constexpr ControlId kSlider = 1108, kReset = 1109;
    for (const auto& [stored, shown] : {std::pair{5, 10}, {95, 80}, {40, 40}})
        EXPECT_EQ(test::Opened<BlankImageSettingsDialog>(stored).view.SliderValue(kSlider), shown) << stored;
    test::Opened<BlankImageSettingsDialog> d(70);
    d.view.Click(kReset);
    EXPECT_EQ(d.view.SliderValue(kSlider), 40);
    d.view.Slide(kSlider, 25);
    ASSERT_TRUE(d.view.PressOk());
    EXPECT_EQ(d.dialog.Result(), 25);
}

}  // namespace
}  // namespace tessera
