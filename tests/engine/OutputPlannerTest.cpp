// The outputs each way of splitting plans, and the pages bookmarks lead to.
#include "access/Host.h"
#include "engine/BookmarkTarget.h"
#include "engine/OutputPlanner.h"
#include "engine/PageSelection.h"
#include "support/PdfFixture.h"

namespace tessera {
namespace {

// Each output as "name:first-last" (1-based), the form the tests compare.
std::vector<std::string> Describe(const OutputList& outputs) {
    std::vector<std::string> out;
    for (const OutputDocument& o : outputs) {
        const PageRange& r = o.Ranges.at(0);
        out.push_back(o.Filename + ":" + std::to_string(r.FirstPage + 1) + "-" + std::to_string(r.LastPage + 1));
    }
    return out;
}

class OutputPlannerTest : public testing::Test {
protected:
    OutputList Plan(const std::string& file, SplitMethod mode, int a, int b = 0, const char* password = "") {
        const DocumentHandle source(host.OpenActive(file, password), DocumentHandle::Ownership::Borrowed);
        s = SplitSettings();
        s.SplitMode = mode;
        s.Output.NumEqualPages = s.Output.StartBookmarkLevel = a;
        s.Output.EndBookmarkLevel = b;
        ok = PlanOutputs(s, source);
        return s.Outputs;
    }
    test::TestHost host;
    SplitSettings s;
    bool ok = false;
};

constexpr const char* kOutline = "damaged-xref-outlines-labels-recoverable.pdf";

TEST_F(OutputPlannerTest, EqualPagesKeepTheRemainderLastAndLinearizedSourcesStayLinearized) {
    EXPECT_EQ(Describe(Plan(kOutline, SplitMethod::EqualPages, 7)),
              (std::vector<std::string>{":1-7", ":8-14", ":15-21", ":22-28", ":29-30"}));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(s.Output.bLinearize);
    EXPECT_EQ(Describe(Plan(kOutline, SplitMethod::EqualPages, 1000)), (std::vector<std::string>{":1-30"}));
    Plan(kOutline, SplitMethod::EqualPages, 0);
    EXPECT_FALSE(ok);
    Plan("encrypted-rc4-128-restricted-user-view-owner-master.pdf", SplitMethod::EqualPages, 1, 0, "view");
    EXPECT_EQ(s.Outputs.size(), 30u);
    EXPECT_TRUE(s.Output.bLinearize);
}

TEST_F(OutputPlannerTest, OutOfOrderOutlineIsSortedByPageThenLevel) {
    // qpdf's test file: items for pages 6, 12, 13, 19, 20, 13, 23, 14, 16, 1, 2 in outline order.
    const auto outputs = Plan(kOutline, SplitMethod::BookmarkLevels, 1, 4);
    ASSERT_TRUE(ok);
    std::vector<std::string> spans;
    for (const std::string& d : Describe(outputs)) spans.push_back(d.substr(d.find(':') + 1));
    EXPECT_EQ(spans, (std::vector<std::string>{"1-1", "2-5", "6-11", "12-12", "13-13", "13-13", "14-15", "16-18",
                                               "19-19", "20-22", "23-30"}));
    // The two items on page 13 come from levels 3 and 3: collection order is kept.
    EXPECT_NE(outputs[4].Filename.find("Isosicle 1_1_1 "), std::string::npos);
}

// Outputs only for the band's levels; titles become safe path names; script pages outside the document lead nowhere.
TEST_F(OutputPlannerTest, BookmarkLevelsMakeOutputsForTheBandNamedByTitleAtPagesInTheDocument) {
    test::PdfFixture pdf(10);
    QPDFObjectHandle ch1 = pdf.ItemToPage("Chapter 1", 4), ch2 = pdf.ItemToPage("Chapter 2", 7);
    QPDFObjectHandle intro = pdf.ItemToPage("Intro", 4), body = pdf.ItemToPage("Body", 5);
    QPDFObjectHandle deep = pdf.ItemToPage("Deep", 6);
    pdf.SetChildren({}, {ch1, ch2});
    pdf.SetChildren(ch1, {intro, body});
    pdf.SetChildren(body, {deep});
    pdf.Write(host.folder / "levels.pdf");

    EXPECT_EQ(Describe(Plan(host.folder / "levels.pdf", SplitMethod::BookmarkLevels, 2, 2)),
              (std::vector<std::string>{"Chapter 1\\Intro:5-5", "Chapter 1\\Body:6-7"}))
        << "a child on its parent's page starts there; levels deeper than the band are never visited";
    EXPECT_EQ(Describe(Plan(host.folder / "levels.pdf", SplitMethod::BookmarkLevels, 3, 1)),
              (std::vector<std::string>{"Chapter 1:5-5", "Chapter 1\\Intro:5-5", "Chapter 1\\Body:6-6",
                                        "Chapter 1\\Body\\Deep:7-7", "Chapter 2:8-10"}))
        << "levels given high to low; two bookmarks on one page both make outputs";

    test::PdfFixture titled(3);
    QPDFObjectHandle empty = titled.ItemToPage("", 0), slashes = titled.ItemToPage(" A/B\\C: d? ", 1);
    QPDFObjectHandle child = titled.ItemToPage(std::string(100, 'x'), 2);
    QPDFObjectHandle noDest = titled.Item("No destination"), orphan = titled.ItemToPage("Kid", 2);
    QPDFObjectHandle blank = titled.Item(" "), grandchild = titled.ItemToPage("Doc", 2);
    titled.SetChildren({}, {empty, slashes, noDest});
    titled.SetChildren(empty, {child});
    titled.SetChildren(noDest, {orphan, blank});
    titled.SetChildren(blank, {grandchild});
    titled.Write(host.folder / "titles.pdf");
    EXPECT_EQ(Describe(Plan(host.folder / "titles.pdf", SplitMethod::BookmarkLevels, 1, 3)),
              (std::vector<std::string>{"Untitled:1-1", "A_B_C_ d_:2-2", "Untitled\\" + std::string(64, 'x') + ":3-3",
                                        "No destination\\Kid:3-3", "No destination\\Untitled\\Doc:3-3"}))
        << "an empty title at any level is no empty folder name";

    // Script pages outside the document lead nowhere.
    test::PdfFixture scripted(4);
    const auto script = [&](const std::string& title, int page) {
        QPDFObjectHandle item = scripted.Item(title);
        item.replaceKey(
            "/A", QPDFObjectHandle::parse("<< /S /JavaScript /JS (this.pageNum = " + std::to_string(page) + ";) >>"));
        return item;
    };
    scripted.SetChildren({}, {scripted.ItemToPage("A", 0), script("Far", 50), script("Farther", 60), script("B", 2),
                              script("Before", -1)});
    scripted.Write(host.folder / "scripts.pdf");
    EXPECT_EQ(Describe(Plan(host.folder / "scripts.pdf", SplitMethod::BookmarkLevels, 1, 1)),
              (std::vector<std::string>{"A:1-2", "B:3-4"}));
}

// A chain 20,000 levels deep whose last item has A, its own ancestor, as child and sibling.
TEST_F(OutputPlannerTest, MalformedOutlinesEndWithoutCrashOrHang) {
    test::PdfFixture pdf(4);
    QPDFObjectHandle a = pdf.ItemToPage("A", 0), last = a;
    pdf.SetChildren({}, {a});
    for (int i = 0; i < 20000; ++i) {
        QPDFObjectHandle kid = pdf.ItemToPage("d", 3);
        pdf.SetChildren(last, {kid});
        last = kid;
    }
    last.replaceKey("/First", a);
    last.replaceKey("/Next", a);
    pdf.Write(host.folder / "loops.pdf");
    const auto outputs = Plan(host.folder / "loops.pdf", SplitMethod::BookmarkLevels, 1, 100000);
    EXPECT_EQ(outputs.size(), 20001u) << "each item once";
    EXPECT_EQ(Describe(outputs)[0], "A:1-3");
}

TEST_F(OutputPlannerTest, ManualListAndOtherModes) {
    const DocumentHandle source(host.OpenActive("multicolumn-latex-2col.pdf"), DocumentHandle::Ownership::Borrowed);
    SplitSettings s;
    s.SplitMode = SplitMethod::ManualRanges;
    s.Filename.OutputFolder = "  /out  ";
    EXPECT_FALSE(PlanOutputs(s, source)) << "a hand-made split without outputs";
    EXPECT_EQ(s.Filename.OutputFolder, "/out");
    s.Outputs.push_back(OutputDocument{{MakePageRange(2, 5, PageRangeFlag::ReverseOrder)}, "Mine"});
    const OutputList before = s.Outputs;
    EXPECT_TRUE(PlanOutputs(s, source));
    EXPECT_EQ(s.Outputs, before);
    EXPECT_EQ(OutputPages(s.Outputs[0], source.PageCount()), (std::vector<int>{2})) << "cut at the last page";
    s.SplitMode = static_cast<SplitMethod>(7);
    EXPECT_TRUE(PlanOutputs(s, source));
    EXPECT_FALSE(PlanOutputs(s, DocumentHandle()));
}

TEST(BookmarkTargetTest, ScriptPageNumbers) {
    const std::pair<const char*, std::optional<int>> cases[] = {{"this.pageNum = 12;", 12},
                                                                {"this.pageNum=3", 3},
                                                                {"app.beep(); this.pageNum =\t -2 ;", -2},
                                                                {"this.pageNum = +7", 7},
                                                                {"this.pageNum = next;", std::nullopt},
                                                                {"this.pageNum", std::nullopt},
                                                                {"this.pageNum =", std::nullopt},
                                                                {"this.pagenum = 4", std::nullopt},
                                                                {"this.pageNum = 99999999999999", std::nullopt},
                                                                {"x = 1; this.pageNum++", std::nullopt}};
    for (const auto& [script, page] : cases) EXPECT_EQ(ParseScriptPageNumber(script), page) << script;
}

// Bookmarks of every action kind in one fixture, read through the real host.
TEST(BookmarkTargetTest, ActionsLeadToPagesOrNowhere) {
    test::TestHost host;
    test::PdfFixture pdf(6);
    QPDF& q = pdf.Qpdf();
    // Actions are parsed in the file, so "N 0 R" names its pages and streams.
    auto withAction = [&](const std::string& title, const std::string& action) {
        QPDFObjectHandle item = pdf.Item(title);
        item.replaceKey("/A", QPDFObjectHandle::parse(&q, action));
        return item;
    };
    QPDFObjectHandle named = pdf.Item("named");
    named.replaceKey("/Dest", QPDFObjectHandle::newName("/chap"));
    q.getRoot().replaceKey("/Dests",
                           QPDFObjectHandle::parse(&q, "<< /chap << /D [" + pdf.Page(5).unparse() + "] >> >>"));
    const std::string jsStream = QPDFObjectHandle::newStream(&q, "this.pageNum = 1;").unparse();
    pdf.SetChildren({}, {withAction("goto", "<< /S /GoTo /D [" + pdf.Page(3).unparse() + " /Fit] >>"), named,
                         withAction("js", "<< /S /JavaScript /JS (this.pageNum = 2;) >>"),
                         withAction("js stream", "<< /S /JavaScript /JS " + jsStream + " >>"),
                         withAction("uri", "<< /S /URI /URI (https://example.org) >>"),
                         withAction("gotor", "<< /S /GoToR /F (other.pdf) /D [0 /Fit] >>"), pdf.ItemToPage("plain", 4),
                         pdf.Item("none"), withAction("missing", "<< /S /GoTo /D (no-such-name) >>")});
    pdf.Write(host.folder / "actions.pdf");

    const DocumentHandle doc(host.OpenActive(host.folder / "actions.pdf"), DocumentHandle::Ownership::Borrowed);
    host::BookmarkServices& bookmarks = *Host().bookmarks;
    std::vector<std::optional<int>> pages;
    for (auto b = bookmarks.FirstChild(bookmarks.Root(doc.Doc())); !b.IsNull(); b = bookmarks.NextSibling(b)) {
        pages.push_back(GetBookmarkTargetPage(doc, b));
        // The same reference each time, also for the GoTo standing for a /Dest: a long session does not pile them up.
        EXPECT_EQ(bookmarks.Action(b), bookmarks.Action(b)) << bookmarks.Title(b);
    }
    const std::vector<std::optional<int>> expected = {
        3, 5, 2, std::nullopt, std::nullopt, std::nullopt, 4, std::nullopt, std::nullopt};
    EXPECT_EQ(pages, expected);
    EXPECT_FALSE(GetBookmarkTargetPage(DocumentHandle(), bookmarks.Root(doc.Doc())));
    const host::DocId bare = host.OpenActive("multicolumn-latex-2col.pdf");
    EXPECT_EQ(bookmarks.Root(bare), bookmarks.Root(bare)) << "a document without an outline";
}

}  // namespace
}  // namespace tessera
