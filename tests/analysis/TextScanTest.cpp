// Separator pages, query ranges and page text on fixtures read through the real host.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "analysis/PageTextExtractor.h"
#include "analysis/QueryResolution.h"
#include "analysis/SeparatorPages.h"
#include "engine/OutputNaming.h"
#include "host/PageContentServices.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

using enum QueryTarget;

// Each output's ranges as "first-last" (1-based), joined by ",".
std::vector<std::string> Spans(const OutputList& outputs) {
    std::vector<std::string> out;
    for (const OutputDocument& o : outputs) {
        std::string spans;
        for (const PageRange& r : o.Ranges)
            spans += (spans.empty() ? "" : ",") + std::to_string(r.StartPage + 1) + "-" +
                     std::to_string(r.StartPage + r.NumPages);
        out.push_back(o.Filename + spans);
    }
    return out;
}

class TextScanTest : public testing::Test {
protected:
    DocumentHandle& Open(const std::vector<std::string>& pages) {
        test::PdfFixture pdf(pages);
        const std::string path = host.folder / ("fixture" + std::to_string(++count) + ".pdf");
        pdf.Write(path);
        document = std::make_unique<DocumentHandle>(host.OpenActive(path), DocumentHandle::Ownership::Borrowed);
        return *document;
    }
    static TextQuery Text(const std::string& pattern) {
        TextQuery q;
        q.Pattern = pattern;
        return q;
    }
    static PageRange Query(QueryTarget target, const std::string& first, const std::string& last = "",
                           bool exclude = false) {
        PageRange r;
        r.Query.Enable = true;
        r.Query.Target = target;
        r.Query.FirstPageQuery = Text(first);
        r.Query.LastPageQuery = Text(last);
        r.Query.ExcludeLastPage = exclude;
        return r;
    }
    test::TestHost host;
    std::unique_ptr<DocumentHandle> document;
    int count = 0;
};

TEST_F(TextScanTest, TextSeparatorsStartOutputsAndNeverMakeEmptyOnes) {
    DocumentHandle& doc = Open({"Chapter 1 begins", "text", "Chapter 2", "Chapter 3", "more", "end"});
    OutputList outputs;
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text("chapter")));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"1-2", "3-3", "4-6"}));
    EXPECT_EQ(outputs[0].Ranges[0].Options, OddPages | EvenPages);

    outputs.clear();
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text("appendix")));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"1-6"})) << "no match: one output of every page";

    TextQuery broken = Text("(");
    broken.UseRegExp = true;
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, broken));
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, SeparatorKind{7}, 0.004, Text("x")));
}

TEST_F(TextScanTest, QueryRangesBecomePlainRanges) {
    DocumentHandle& doc =
        Open({"p1", "p2", "alpha", "p4", "p5", "omega", "p7", "alpha omega", "omega", "alpha", "Summary", "Summary"});
    OutputList outputs = {OutputDocument{{Query(QueryPageRanges, "alpha", "omega")}, "ranges"},
                          OutputDocument{{Query(QueryPageRanges, "alpha", "omega", true)}, "excluded"},
                          OutputDocument{{MakePageRange(0, 1, 0), Query(QuerySinglePage, "summary")}, "single"},
                          OutputDocument{{Query(QueryPageSet, "summary")}, "set"},
                          OutputDocument{{Query(QueryPageSet, "nowhere")}, "gone"},
                          OutputDocument{{Query(QueryPageSet, "")}, "incomplete"}};
    ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"ranges3-6,8-9", "excluded3-5,8-8", "single1-1,11-11",
                                                        "set11-11,12-12"}))
        << "alpha on 3, 8 and 10: the third first page has no last page and is dropped";
}

TEST_F(TextScanTest, PlainListsStayAsTheyAre) {
    DocumentHandle& doc = Open({"a", "b"});
    OutputList outputs = {OutputDocument{{MakePageRange(1, 1, ReverseOrder)}, "n"}};
    const OutputList before = outputs;
    ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1));
    EXPECT_EQ(outputs, before);
    OutputList none;
    EXPECT_FALSE(ResolveQueryRanges(doc, none, 0, -1));
}

TEST_F(TextScanTest, AreaKeepsWordsThatTouchIt) {
    DocumentHandle& doc = Open({"Header words\n\n\n\n\nBody text"});
    PageTextExtractor extractor;
    ASSERT_TRUE(extractor.Attach(doc));
    ASSERT_TRUE(extractor.Extract(0, {}, false));
    EXPECT_EQ(extractor.Text(), "Header words Body text ");
    // The first line's baseline is 86 points below the top, the last one's 156.
    const auto fixed = [](double points) { return Fixed16::FromRealAddingHalf(points); };
    ASSERT_TRUE(extractor.Extract(0, {fixed(0), fixed(0), fixed(612), fixed(100)}, true));
    EXPECT_EQ(extractor.Text(), "Header words ");
    ASSERT_TRUE(extractor.Extract(0, {fixed(0), fixed(140), fixed(100), fixed(792)}, true));
    EXPECT_EQ(extractor.Text(), "Body ") << "a word across the area's edge counts";
    ASSERT_TRUE(extractor.Extract(0, {fixed(300), fixed(300), fixed(400), fixed(400)}, true));
    EXPECT_EQ(extractor.Text(), "");
    PageTextExtractor forNames;
    EXPECT_EQ(GetPageTextInArea(forNames, doc, 0, {fixed(0), fixed(0), fixed(612), fixed(100)}), "Header words ");
    EXPECT_EQ(GetPageTextInArea(forNames, doc, 1, {}), std::nullopt);
}

TEST_F(TextScanTest, NamesFromTheTextOfAnArea) {
    DocumentHandle& doc = Open({"Invoice 17\n\n\n\n\nfooter", "page two", "\n\n\n\n\nonly low text", "Invoice 17"});
    SplitSettings s;
    s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
    s.Filename.OutputBaseFilename = "";
    s.Filename.FileNameConstructionMode = NameConstructionMode::AddTextFromPage;
    s.Filename.TextAreaRight = Fixed16::FromRealAddingHalf(612);
    s.Filename.TextAreaBottom = Fixed16::FromRealAddingHalf(100);
    for (int page : {0, 1, 2, 3}) s.Outputs.push_back(OutputDocument{{MakePageRange(page, 1, 0)}, ""});
    std::tm today{};
    const auto entries = NameOutputs(s, doc, today);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.file);
    EXPECT_EQ(names, (std::vector<std::string>{"INVOICE 17.pdf", "PAGE TWO.pdf", "3.pdf", "INVOICE 17_1.pdf"}))
        << "the area's words, or the output's number when it has none, made unique";
}

// A page tree whose inner node says it holds one page where it holds two:
// MuPDF, which goes by /Count, takes the third page for the second.
void WriteLyingCount(const std::string& path) {
    test::PdfFixture pdf(3);
    QPDF& q = pdf.Qpdf();
    QPDFObjectHandle root = q.getRoot().getKey("/Pages");
    QPDFObjectHandle node = q.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Pages /Count 1 >>"));
    node.replaceKey("/Kids", QPDFObjectHandle::newArray({pdf.Page(0), pdf.Page(1)}));
    node.replaceKey("/Parent", root);
    for (int i : {0, 1}) pdf.Page(i).replaceKey("/Parent", node);
    root.replaceKey("/Kids", QPDFObjectHandle::newArray({node, pdf.Page(2)}));
    pdf.Write(path);
}

// An update that reverses the pages and whose /Prev points at itself: qpdf
// rebuilds the cross-reference table from the objects, MuPDF finds no pages.
void WriteLoopingXref(const std::string& path) {
    test::PdfFixture(3).Write(path);
    QPDF q;
    q.processFile(path.c_str());
    std::string kids;
    for (QPDFObjectHandle page : q.getAllPages()) kids = page.unparse() + " " + kids;
    const QPDFObjGen tree = q.getRoot().getKey("/Pages").getObjGen();
    std::ifstream in(path, std::ios::binary);
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t object = file.size() + 1;
    std::string update = "\n" + std::to_string(tree.getObj()) + " 0 obj\n<< /Type /Pages /Count 3 /Kids [ " + kids +
                         "] >>\nendobj\n";
    const std::size_t xref = file.size() + update.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", object);
    update += "xref\n" + std::to_string(tree.getObj()) + " 1\n" + entry + "trailer\n<< /Size " +
              std::to_string(q.getTrailer().getKey("/Size").getIntValue()) + " /Root " + q.getRoot().unparse() +
              " /Prev " + std::to_string(xref) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary | std::ios::app) << update;
}

TEST_F(TextScanTest, TextComesFromThePageQpdfSees) {
    const struct Case {
        const char* name;
        void (*write)(const std::string&);
        const char* file;
        const char* found;
    } cases[] = {{"lying /Count", WriteLyingCount, "count.pdf", "p3-3"},
                 {"looping xref", WriteLoopingXref, "loop.pdf", "p1-1"},
                 {"PDF named .xps", [](const std::string& path) { test::PdfFixture(3).Write(path); }, "scan.xps",
                  "p3-3"}};
    // A run that writes nothing takes its page count from the text reader where it can.
    for (const bool planningOnly : {false, true}) {
        host.runtime.Store().SetPlanningOnly(planningOnly);
        for (const Case& c : cases) {
            const std::string path = host.folder / c.file;
            c.write(path);
            DocumentHandle doc(host.OpenActive(path), DocumentHandle::Ownership::Borrowed);
            OutputList outputs = {OutputDocument{{Query(QueryPageSet, "Page 3")}, "p"}};
            ASSERT_NO_THROW(ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1))) << c.name;
            EXPECT_EQ(Spans(outputs), (std::vector<std::string>{c.found})) << c.name << planningOnly;
            EXPECT_EQ(doc.PageCount(), 3) << c.name << planningOnly;
        }
    }
    host.runtime.Store().SetPlanningOnly(false);
}

// A Type 1 font known only by the glyph names of its /Differences, without
// ToUnicode, as older TeX fonts for Thai and Cyrillic are: MuPDF names single
// glyphs of the Adobe Glyph List itself, but not those of character sequences.
TEST_F(TextScanTest, GlyphNamesGiveTheTextOfFontsWithoutUnicode) {
    test::PdfFixture pdf(1);
    const QPDFObjectHandle font = pdf.Qpdf().makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /NamedGlyphs /FirstChar 65 /LastChar 70 /Widths [ 500 500 500 500 "
        "500 500 ] /Encoding << /Type /Encoding /Differences [ 65 /uni0E20 /uni0E32 /uni0E290E32.alt /afii10049 "
        "/afii10073 /uni044B043A ] >> >>"));
    const QPDFObjectHandle resources = QPDFObjectHandle::newDictionary({{"/Font", QPDFObjectHandle::newDictionary({{"/G", font}})}});
    for (const char* codes : {"(ABC)", "(DEF)"})
        pdf.AddContentPage(std::string("BT /G 24 Tf 72 700 Td ") + codes + " Tj ET", resources);
    const std::string path = host.folder / "names.pdf";
    pdf.Write(path);
    DocumentHandle doc(host.OpenActive(path), DocumentHandle::Ownership::Borrowed);
    for (const auto& [word, spans] : {std::pair<const char*, std::vector<std::string>>{"ภาษา", {"1-1", "2-3"}},
                                      {"Язык", {"1-2", "3-3"}}}) {
        OutputList outputs;
        ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text(word)));
        EXPECT_EQ(Spans(outputs), spans) << word;
    }
}

TEST_F(TextScanTest, ContentQueriesNeedNoWordFinder) {
    // A document made in memory has no file a word finder could read.
    test::PdfFixture pdf(2);
    pdf::DocumentStore& store = host.runtime.Store();
    const host::DocId id = store.CreateEmpty();
    for (int page : {0, 1}) store.Get(id).Qpdf().addPage(pdf.Page(page), false);
    DocumentHandle doc(id, DocumentHandle::Ownership::Borrowed);
    PageRange text;
    text.Query.Enable = true;
    text.Query.Target = QueryPageContent;
    text.Query.PageContentQuery = {host::PageElementKind::Text};
    OutputList outputs = {OutputDocument{{text}, "t"}};
    ASSERT_NO_THROW(ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1)));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"t1-1,2-2"}));
}

TEST(TouchesTest, EdgesCount) {
    const host::WordBox box{10, 10, 20, 20};
    const auto area = [](double l, double t, double r, double b) {
        return TextArea{Fixed16::FromRealAddingHalf(l), Fixed16::FromRealAddingHalf(t), Fixed16::FromRealAddingHalf(r),
                        Fixed16::FromRealAddingHalf(b)};
    };
    EXPECT_TRUE(Touches(box, area(20, 20, 30, 30))) << "corner to corner";
    EXPECT_TRUE(Touches(box, area(0, 0, 10, 10)));
    EXPECT_TRUE(Touches(box, area(15, 0, 16, 100)));
    EXPECT_FALSE(Touches(box, area(20.01, 0, 30, 30)));
    EXPECT_FALSE(Touches(box, area(0, 0, 100, 9.99)));
}

}  // namespace
}  // namespace tessera
