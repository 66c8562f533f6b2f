// Links and bookmarks of split outputs: each leads to the page it led to,
// in the first output that holds it or back in the source.
#include <filesystem>

#include "engine/RunSplit.h"
#include "support/PdfFixture.h"
#include "support/PdfProbe.h"

namespace tessera {
namespace {

namespace fs = std::filesystem;
using Actions = std::vector<std::string>;

// What an action does, pages named by the "Page N" text of the page reached
// (a remote file opened relative to `file`'s folder).
std::string Describe(const std::string& file, QPDFObjectHandle action) {
    if (!action.isDictionary()) return "none";
    const std::string type = action.getKey("/S").getName().substr(1);
    if (type != "GoTo" && type != "GoToR") return type;
    QPDFObjectHandle d = action.getKey("/D"), remote = action.getKey("/F");
    // A remote path is relative to the file's folder unless it is absolute.
    const fs::path where =
        type == "GoTo" ? fs::path(file)
                       : fs::path(file).parent_path() /
                             (remote.isDictionary() ? remote.getKey("/UF").getUTF8Value() : remote.getUTF8Value());
    if (!d.isArray()) return type + (type == "GoToR" ? " " + where.string() : "") + " " + d.unparse();
    // A local destination names the page object, of the file the action was read from.
    QPDFObjectHandle page = d.getArrayItem(0);
    const int index = page.isInteger() ? page.getIntValueAsInt() : page.getOwningQPDF()->findPage(page);
    std::string text = type + (type == "GoToR" ? " " + where.filename().string() : "") + " Page " +
                       std::to_string(test::FixturePageNumbers(where).at(static_cast<std::size_t>(index)));
    for (int i = 1; i < d.getArrayNItems(); ++i) text += " " + d.getArrayItem(i).unparse();
    return text;
}

Actions PageActions(const std::string& file, int page) {
    QPDF q;
    q.processFile(file.c_str());
    Actions out;
    QPDFObjectHandle object = q.getAllPages().at(static_cast<std::size_t>(page));
    for (QPDFObjectHandle annot : object.getKey("/Annots").aitems()) out.push_back(Describe(file, annot.getKey("/A")));
    return out;
}

Actions OutlineActions(const std::string& file) {
    QPDF q;
    q.processFile(file.c_str());
    Actions out;
    std::vector<QPDFObjectHandle> stack{q.getRoot().getKey("/Outlines").getKeyIfDict("/First")};
    while (!stack.empty()) {
        QPDFObjectHandle item = stack.back();
        stack.pop_back();
        if (!item.isDictionary()) continue;
        out.push_back(item.getKey("/Title").getUTF8Value() + ": " + Describe(file, item.getKey("/A")));
        stack.push_back(item.getKey("/Next"));
        stack.push_back(item.getKey("/First"));
    }
    return out;
}

class LinkRewritingTest : public testing::Test {
protected:
    // Splits the active document into the named outputs (in out/) with links and bookmarks rewritten.
    bool Split(std::vector<OutputDocument> outputs) {
        SplitSettings s;
        s.SplitMode = SplitMethod::ManualRanges;
        s.Outputs = std::move(outputs);
        s.Filename.OutputFolder = host.folder / "out";
        s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone, s.Filename.OutputBaseFilename = "";
        s.Output.bUpdateLinks = s.Output.bTransferBookmarks = true;
        const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
        return RunSplit(s, source).Completed();
    }
    std::string Out(const std::string& name) { return host.folder / ("out/" + name); }

    test::TestHost host;
};

// Page 1 holds a note, a web link, a launch, then links to page 5 by name,
// to page 3 with a view, to a name nobody defined, and to page 2.
TEST_F(LinkRewritingTest, TargetsGoToTheFirstOutputHoldingThemAndWhatCannotBeMappedStays) {
    test::PdfFixture f(6);
    const auto linkTo = [&f](int page, const std::string& view) {
        const std::string dest = "[" + f.Page(page).unparse() + " " + view + "]";
        f.AddAnnotation(0, "Link").replaceKey("/Dest", QPDFObjectHandle::parse(&f.Qpdf(), dest));
    };
    f.AddAnnotation(0, "Text");
    f.AddAnnotation(0, "Link", "URI").getKey("/A").replaceKey("/URI", QPDFObjectHandle::newString("https://a.org"));
    f.AddAnnotation(0, "Link", "Launch").getKey("/A").replaceKey("/F", QPDFObjectHandle::newString("x.pdf"));
    f.AddAnnotation(0, "Link", "GoTo").getKey("/A").replaceKey("/D", QPDFObjectHandle::newString("five"));
    linkTo(2, "/XYZ 10 20 2");
    f.AddAnnotation(0, "Link", "GoTo").getKey("/A").replaceKey("/D", QPDFObjectHandle::newString("nowhere"));
    linkTo(1, "/FitH 30");
    const std::string names = "<< /Dests << /Names [ (five) [ " + f.Page(4).unparse() + " /Fit ] ] >> >>";
    f.Qpdf().getRoot().replaceKey("/Names", QPDFObjectHandle::parse(&f.Qpdf(), names));
    QPDFObjectHandle three = f.ItemToPage("Three", 2), five = f.Item("Five"), web = f.Item("Web");
    five.replaceKey("/A", QPDFObjectHandle::parse("<< /S /GoTo /D (five) >>"));
    web.replaceKey("/A", QPDFObjectHandle::parse("<< /S /URI /URI (https://example.org) >>"));
    f.SetChildren({}, {f.ItemToPage("One", 0), three, web});
    f.SetChildren(three, {five});
    const std::string source = host.folder / "edge cases.pdf";
    f.Write(source);
    host.OpenActive(source);
    ASSERT_TRUE(Split(
        {OutputDocument{{MakePageRange(0, 3)}, "A"}, OutputDocument{{MakePageRange(2, 1), MakePageRange(0, 1)}, "B"}}));
    const std::string a = Out("A.pdf"), b = Out("B.pdf"), named = "GoToR " + source + " (five)";
    EXPECT_EQ(PageActions(a, 0), (Actions{"none", "URI", "Launch", named, "GoTo Page 3 /XYZ 10 20 2", "GoTo (nowhere)",
                                          "GoTo Page 2 /FitH 30"}));
    // B holds page 3 itself, but A comes first in the list.
    EXPECT_EQ(PageActions(b, 1), (Actions{"none", "URI", "Launch", named, "GoToR A.pdf Page 3 /XYZ 10 20 2",
                                          "GoTo (nowhere)", "GoToR A.pdf Page 2 /FitH 30"}));
    EXPECT_EQ(OutlineActions(a),
              (Actions{"One: GoTo Page 1 /Fit", "Three: GoTo Page 3 /Fit", "Five: " + named, "Web: URI"}));
    EXPECT_EQ(OutlineActions(b), (Actions{"One: GoToR A.pdf Page 1 /Fit", "Three: GoToR A.pdf Page 3 /Fit",
                                          "Five: " + named, "Web: URI"}));
    for (const std::string& file : {a, b}) EXPECT_TRUE(test::QpdfCheckPasses(file)) << file;
}

// Viewers look a name up by its bytes, and the file by the path the system
// resolves ("ln" leads elsewhere, so "ln/.." is not "sym").
TEST_F(LinkRewritingTest, LinksBackIntoTheSourceKeepTheNamesBytesAndTheSourcesRealPath) {
    test::PdfFixture f(6);
    const std::vector<std::string> names = {"<FEFF00410042>", "<517F78>", "/Caf#C3#A9"};
    for (const std::string& name : names)
        f.AddAnnotation(0, "Link", "GoTo").getKey("/A").replaceKey("/D", QPDFObjectHandle::parse(name));
    const std::string fit = "[" + f.Page(4).unparse() + " /Fit]";
    f.Qpdf().getRoot().replaceKey("/Dests", QPDFObjectHandle::parse(&f.Qpdf(), "<< /Caf#C3#A9 " + fit + " >>"));
    f.Qpdf().getRoot().replaceKey(
        "/Names", QPDFObjectHandle::parse(
                      &f.Qpdf(), "<< /Dests << /Names [ <517F78> " + fit + " <FEFF00410042> " + fit + " ] >> >>"));
    fs::create_directories(host.folder / "real/sub");
    fs::create_directories(host.folder / "sym");
    fs::create_directory_symlink(host.folder / "real/sub", host.folder / "sym/ln");
    f.Write(host.folder / "real/links.pdf");
    host.OpenActive(host.folder / "sym/ln/../links.pdf");
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 1)}, "A"}}));
    const std::string real = fs::canonical(host.folder / "real/links.pdf").string();
    Actions expected;
    for (const std::string& name : names)
        expected.push_back("GoToR " + real + " " + QPDFObjectHandle::parse(name).unparse());
    EXPECT_EQ(PageActions(Out("A.pdf"), 0), expected);
    QPDF q;
    q.processFile(Out("A.pdf").c_str());
    EXPECT_FALSE(q.getRoot().hasKey("/Outlines")) << "a source without an outline gives outputs without one";
}

}  // namespace
}  // namespace tessera
