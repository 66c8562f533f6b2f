// Finding pages by their text: patterns, separator pages, query ranges, names
// from an area's words, and the text MuPDF reads for the pages qpdf sees.
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "engine/OutputNaming.h"
#include "reading/PageTextExtractor.h"
#include "reading/QueryResolution.h"
#include "reading/SearchPattern.h"
#include "reading/SeparatorPages.h"
#include "support/Files.h"
#include "support/PdfFixture.h"

namespace tessera {
namespace {

using enum QueryTarget;
using Spans = std::vector<std::string>;

TextQuery Text(const std::string& pattern, bool regex = false, bool whole = false, bool matchCase = false) {
    TextQuery q;
    q.Pattern = pattern, q.UseRegExp = regex, q.WholeWords = whole, q.MatchCase = matchCase;
    return q;
}

TEST(SearchPatternTest, MatchesAsTheQuerySaysOrSaysWhyNot) {
    const struct {
        const char* name;
        TextQuery query;
        const char* text;
        bool matches;
    } cases[] = {
        {"a plain dot is literal", Text("a.b"), "axb ", false},
        {"plain braces reach PCRE as text", Text("a{2}"), "baab ", true},
        {"plain regex characters", Text("(1+1)*[2]?"), "is (1+1)*[2]? ", true},
        {"a whole word not inside another", Text("cat", false, true), "concatenate ", false},
        {"a whole word alone", Text("cat", false, true), "the cat sat ", true},
        {"caseless by default", Text("CAT"), "cat ", true},
        {"match case", Text("CAT", false, false, true), "cat ", false},
        {"accents caseless", Text("été"), "UN ÉTÉ CHAUD ", true},
        {"accents in a whole word", Text("café", false, true), "Un Café noir ", true},
        {"an accent ends no word", Text("caf", false, true), "café ", false},
        {"Cyrillic caseless", Text("глава", false, true), "ГЛАВА 1 ", true},
        {"across words", Text("Chapter 2"), "Chapter 2 Summary ", true},
        {"a pattern that matches only empty text never matches", Text("x*", true), "abc ", false},
        {"regex alternation", Text("^(Part|Chapter) [0-9]+", true, false, true), "Chapter 12 ", true},
    };
    for (const auto& c : cases) {
        SearchPattern pattern;
        ASSERT_TRUE(CompileTextQuery(pattern, c.query)) << c.name;
        EXPECT_EQ(pattern.Find(c.text) == MatchResult::Match, c.matches) << c.name;
    }

    SearchPattern pattern;
    ASSERT_TRUE(pattern.Compile("a", true));
    EXPECT_EQ(pattern.Find(""), MatchResult::NoMatch);
    EXPECT_FALSE(pattern.Compile("(a", true));
    EXPECT_EQ(pattern.Text(), "a") << "a failed compile keeps the previous program";
    EXPECT_FALSE(ValidatePattern("(a"));
    EXPECT_TRUE(ValidatePattern("a{2}"));
    EXPECT_EQ(pattern.Find("\xff\xfe a"), MatchResult::Match) << "bytes that are not UTF-8 do not stop the search";
    EXPECT_TRUE(QueryPatternError(Text("\\Qa", true, true))) << "quotes the whole-word wrapping's parenthesis";
    EXPECT_FALSE(QueryPatternError(Text("Part (1")));

    ASSERT_TRUE(pattern.Compile("(?R)", false));
    EXPECT_EQ(pattern.Find("any text"), MatchResult::Failed);
    EXPECT_NE(pattern.FailureText().find("recursion"), std::string::npos) << pattern.FailureText();
}

TEST(SearchPatternTest, LongPagesAreSearchedAndRunawayPatternsEndQuickly) {
    SearchPattern pattern;
    ASSERT_TRUE(pattern.Compile("(.|\\s)*ipsum", false));
    std::string page;  // past PCRE2's default JIT stack, within the larger one, and past that
    for (std::size_t words : {400, 40'000, 100'000}) {
        while (page.size() < 6 * words) page += "lorem ";
        EXPECT_EQ(pattern.Find(page + "ipsum "), MatchResult::Match) << page.size() << " characters";
    }
    std::string prose;
    while (prose.size() < 20'000) prose += "lorem ipsum dolor ";
    // Nested repeats at one start; then patterns that scan to the end of the
    // page from every start, whose steps together are what runs away.
    const std::pair<const char*, std::string> rows[] = {
        {"(a+)+$", std::string(5000, 'a') + "!"}, {"(\\w|\\s)+final", prose}, {"(?:\\w+\\s)+final", prose + prose}};
    for (const auto& [text, input] : rows) {
        ASSERT_TRUE(pattern.Compile(text, false));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(pattern.Find(input), MatchResult::TooComplex) << text;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << text;
    }
}

// Each output's name and ranges as "first-last" (1-based), joined by ",".
Spans SpansOf(const OutputList& outputs) {
    Spans out;
    for (const OutputDocument& o : outputs) {
        out.push_back(o.Filename);
        for (const PageRange& r : o.Ranges)
            out.back() += (&r == o.Ranges.data() ? "" : ",") + std::to_string(r.StartPage + 1) + "-" +
                          std::to_string(r.StartPage + r.NumPages);
    }
    return out;
}

PageRange Query(QueryTarget target, const std::string& first, const std::string& last = "", bool exclude = false) {
    PageRange r;
    r.Query.Enable = true, r.Query.Target = target, r.Query.ExcludeLastPage = exclude;
    r.Query.FirstPageQuery = Text(first), r.Query.LastPageQuery = Text(last);
    return r;
}

PageArea Area(double left, double top, double right, double bottom) {
    const auto fixed = [](double points) { return Fixed16::FromRealAddingHalf(points); };
    return {fixed(left), fixed(top), fixed(right), fixed(bottom)};
}

class TextScanTest : public testing::Test {
protected:
    DocumentHandle Open(const std::vector<std::string>& pages) {
        const std::string path = host.folder / ("fixture" + std::to_string(++count) + ".pdf");
        test::PdfFixture(pages).Write(path);
        return DocumentHandle(host.OpenActive(path), DocumentHandle::Ownership::Borrowed);
    }
    Spans Split(const DocumentHandle& doc, const TextQuery& query) {
        OutputList outputs;
        EXPECT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, query));
        return SpansOf(outputs);
    }
    test::TestHost host;
    int count = 0;
};

TEST_F(TextScanTest, TextSeparatorsStartOutputsAndNeverMakeEmptyOnes) {
    const DocumentHandle doc = Open({"Chapter 1 begins", "text", "Chapter 2", "Chapter 3", "more", "end"});
    EXPECT_EQ(Split(doc, Text("chapter")), (Spans{"1-2", "3-3", "4-6"}));
    EXPECT_EQ(Split(doc, Text("appendix")), (Spans{"1-6"})) << "no match: one output of every page";
    OutputList outputs;
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text("chapter")));
    EXPECT_EQ(outputs[0].Ranges[0].Options, PageRangeFlag::OddPages | PageRangeFlag::EvenPages);
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text("(", true)));
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, SeparatorKind{7}, 0.004, Text("x")));
    // A profile may carry Duplex from a sheet split: text pages are no sheets,
    // and a match on a back page still starts an output.
    OutputSettings duplex;
    duplex.Duplex = duplex.KeepSeparators = true;
    outputs.clear();
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::PageMatchingText, 0.004, Text("chapter"), 1, &duplex));
    EXPECT_EQ(SpansOf(outputs), (Spans{"1-2", "3-3", "4-6"}));
}

TEST_F(TextScanTest, QueryRangesBecomePlainRangesAndPlainListsStayAsTheyAre) {
    const DocumentHandle doc =
        Open({"p1", "p2", "alpha", "p4", "p5", "omega", "p7", "alpha omega", "omega", "alpha", "Summary", "Summary"});
    OutputList outputs = {OutputDocument{{Query(QueryPageRanges, "alpha", "omega")}, "ranges"},
                          OutputDocument{{Query(QueryPageRanges, "alpha", "omega", true)}, "excluded"},
                          OutputDocument{{MakePageRange(0, 1), Query(QuerySinglePage, "summary")}, "single"},
                          OutputDocument{{Query(QueryPageSet, "summary")}, "set"},
                          OutputDocument{{Query(QueryPageSet, "nowhere")}, "gone"},
                          OutputDocument{{Query(QueryPageSet, "")}, "incomplete"}};
    ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1));
    EXPECT_EQ(SpansOf(outputs),
              (Spans{"ranges3-6,8-9", "excluded3-5,8-8", "single1-1,11-11", "set11-11,12-12", "gone", "incomplete"}))
        << "alpha on 3, 8 and 10: the third first page has no last page and is dropped; an output that finds "
           "nothing stays, without pages";

    outputs = {OutputDocument{{MakePageRange(1, 1, PageRangeFlag::ReverseOrder)}, "n"}};
    const OutputList before = outputs;
    ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1));
    EXPECT_EQ(outputs, before);
    EXPECT_FALSE(ResolveQueryRanges(doc, outputs = {}, 0, -1)) << "no outputs";
}

TEST_F(TextScanTest, AnAreaKeepsTheWordsThatTouchItAndNamesOutputs) {
    const DocumentHandle doc =
        Open({"Header words\n\n\n\n\nBody text", "page two", "\n\n\n\n\nonly low text", "Header words"});
    PageTextExtractor extractor{OcrSettings{}};
    ASSERT_TRUE(extractor.Attach(doc));
    // The first line's baseline is 86 points below the top, the last one's 156.
    const PageArea header = Area(0, 0, 612, 100);
    const std::tuple<PageArea, bool, const char*> areas[] = {{{}, false, "Header words Body text "},
                                                             {header, true, "Header words "},
                                                             {Area(0, 140, 100, 792), true, "Body "},  // a word across
                                                             {Area(300, 300, 400, 400), true, ""}};
    for (const auto& [area, useArea, text] : areas) {
        ASSERT_TRUE(extractor.Extract(0, area, useArea));
        EXPECT_EQ(extractor.Text(), text);
    }
    const host::WordBox box{10, 10, 20, 20};
    EXPECT_TRUE(Touches(box, Area(20, 20, 30, 30))) << "corner to corner";
    EXPECT_TRUE(Touches(box, Area(0, 0, 10, 10)));
    EXPECT_FALSE(Touches(box, Area(20.01, 0, 30, 30)));

    SplitSettings s;
    s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone, s.Filename.OutputBaseFilename = "";
    s.Filename.FileNameConstructionMode = NameConstructionMode::AddTextFromPage;
    s.Filename.TextArea.right = header.right, s.Filename.TextArea.bottom = header.bottom;
    for (int page : {0, 1, 2, 3}) s.Outputs.push_back(OutputDocument{{MakePageRange(page, 1)}, ""});
    std::vector<std::string> names;
    for (const auto& entry : NameOutputs(s, doc, std::tm{})) names.push_back(entry.file);
    EXPECT_EQ(names, (std::vector<std::string>{"HEADER WORDS.pdf", "PAGE TWO.pdf", "3.pdf", "HEADER WORDS_1.pdf"}))
        << "the area's words, or the output's number when it has none, made unique";
    EXPECT_EQ(GetPageTextInArea(extractor, doc, 4, header), std::nullopt) << "no such page";
}

// A page tree whose inner node says it holds one page where it holds two, the
// pages after `first`: MuPDF, which goes by /Count, takes each later page for the one before.
// With `direct`, the lying node is a direct object, which makes the tree
// one MuPDF reads by /Count alone, without a table of its pages.
void WriteLyingCount(const std::string& path, int pages, int first, bool direct = false) {
    test::PdfFixture pdf(pages);
    QPDFObjectHandle root = pdf.Qpdf().getRoot().getKey("/Pages"), kids = QPDFObjectHandle::newArray();
    QPDFObjectHandle node = QPDFObjectHandle::parse("<< /Type /Pages /Count 1 >>");
    if (!direct) node = pdf.Qpdf().makeIndirectObject(node);
    node.replaceKey("/Kids", QPDFObjectHandle::newArray({pdf.Page(first), pdf.Page(first + 1)}));
    node.replaceKey("/Parent", root);
    for (int i = 0; i < pages; ++i) {
        if (i == first) kids.appendItem(node);
        if (i == first || i == first + 1)
            pdf.Page(i).replaceKey("/Parent", node);
        else
            kids.appendItem(pdf.Page(i));
    }
    root.replaceKey("/Kids", kids);
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
    const int tree = q.getRoot().getKey("/Pages").getObjGen().getObj();
    const std::size_t object = test::ReadFile(path).size() + 1;
    std::string update =
        "\n" + std::to_string(tree) + " 0 obj\n<< /Type /Pages /Count 3 /Kids [ " + kids + "] >>\nendobj\n";
    const std::size_t xref = object - 1 + update.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", object);
    update += "xref\n" + std::to_string(tree) + " 1\n" + entry + "trailer\n<< /Size " +
              std::to_string(q.getTrailer().getKey("/Size").getIntValue()) + " /Root " + q.getRoot().unparse() +
              " /Prev " + std::to_string(xref) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary | std::ios::app) << update;
}

TEST_F(TextScanTest, TextComesFromThePageQpdfSees) {
    const std::tuple<const char*, void (*)(const std::string&), const char*> cases[] = {
        {"lying-count.pdf", [](const std::string& path) { WriteLyingCount(path, 3, 0); }, "p3-3"},
        {"looping-xref.pdf", WriteLoopingXref, "p1-1"},
        {"pdf-named.xps", [](const std::string& path) { test::PdfFixture(3).Write(path); }, "p3-3"}};
    // A run that writes nothing takes its page count from the text reader where it can.
    for (const bool planningOnly : {false, true}) {
        host.runtime.Store().SetPlanningOnly(planningOnly);
        for (const auto& [file, write, found] : cases) {
            SCOPED_TRACE(testing::Message() << file << (planningOnly ? ", planning only" : ""));
            write(host.folder / file);
            const DocumentHandle doc(host.OpenActive(host.folder / file), DocumentHandle::Ownership::Borrowed);
            OutputList outputs = {OutputDocument{{Query(QueryPageSet, "Page 3")}, "p"}};
            ASSERT_NO_THROW(ASSERT_TRUE(ResolveQueryRanges(doc, outputs, 0, -1)));
            EXPECT_EQ(SpansOf(outputs), (Spans{found}));
            EXPECT_EQ(doc.PageCount(), 3);
        }
    }
}

// Page by page with no threads ahead, as codes and colours are read: each
// page's own words, where MuPDF's count of the page tree leads elsewhere.
TEST_F(TextScanTest, APageReadAloneIsThePageQpdfSees) {
    WriteLyingCount(host.folder / "lying.pdf", 14, 10, true);
    const DocumentHandle doc(host.OpenActive(host.folder / "lying.pdf"), DocumentHandle::Ownership::Borrowed);
    host::WordFinderServices& finder = *host.runtime.Services().words;
    const host::WordFinderId id = finder.CreateWordFinder(doc.Doc(), 1);
    for (int page = 9; page < 14; ++page) {
        std::string text;
        for (const host::PageWord& word : finder.PageWords(id, page)) text += word.text + " ";
        EXPECT_EQ(text, "Page " + std::to_string(page + 1) + " ") << "page " << page + 1;
    }
    finder.DestroyWordFinder(id);
}

// A Type 1 font known only by the glyph names of its /Differences, without
// ToUnicode, as older TeX fonts for Thai, Cyrillic and math are: MuPDF names
// single glyphs of the Adobe Glyph List itself, but not those of character
// sequences nor TeX's sizes of a glyph.
TEST_F(TextScanTest, GlyphNamesGiveTheTextOfFontsWithoutUnicode) {
    test::PdfFixture pdf(1);
    const QPDFObjectHandle resources = QPDFObjectHandle::parse(
        "<< /Font << /G << /Type /Font /Subtype /Type1 /BaseFont /NamedGlyphs /FirstChar 65 /LastChar 72 /Widths [ 500 "
        "500 500 500 500 500 500 500 ] /Encoding << /Type /Encoding /Differences [ 65 /uni0E20 /uni0E32 "
        "/uni0E290E32.alt "
        "/afii10049 /afii10073 /uni044B043A /summationdisplay /parenleftBig ] >> >> >> >>");
    // G and H are the sizes TeX's math extension fonts name so.
    for (const char* codes : {"(ABC)", "(DEF)", "(GH)"})
        pdf.AddContentPage(std::string("BT /G 24 Tf 72 700 Td ") + codes + " Tj ET", resources);
    pdf.Write(host.folder / "names.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "names.pdf"), DocumentHandle::Ownership::Borrowed);
    EXPECT_EQ(Split(doc, Text("ภาษา")), (Spans{"1-1", "2-4"}));
    EXPECT_EQ(Split(doc, Text("Язык")), (Spans{"1-2", "3-4"}));
    EXPECT_EQ(Split(doc, Text("∑(")), (Spans{"1-3", "4-4"}));
}

// Glyph names that are Unicode character names in CamelCase, as a Thai
// TrueType font without ToUnicode has them: an underscore before a small
// letter is the name's hyphen, another joins a ligature, a ligature's part
// that names nothing leaves the others, and a variant's words ("Left") are
// left out.
TEST_F(TextScanTest, UnicodeCharacterNamesGiveTheTextOfTheirGlyphs) {
    test::PdfFixture pdf(1);
    const QPDFObjectHandle resources = QPDFObjectHandle::parse(
        "<< /Font << /T << /Type /Font /Subtype /Type1 /BaseFont /ThaiNames /FirstChar 65 /LastChar 70 /Widths [ 500 "
        "500 500 500 500 500 ] /Encoding << /Type /Encoding /Differences [ 65 /ThaiCharacterPhoSamphao_qqq "
        "/ThaiCharacterSaraAa /ThaiCharacterSoRusi_ThaiCharacterSaraAa /ThaiCharacterMaiHan_akatLeft "
        "/ThaiCharacterKoKaiLowLeft /uniD800 ] >> >> >> >>");
    // F is a surrogate ("uniD800"), which MuPDF passes on: words stay UTF-8, and so do names.
    for (const char* codes : {"(ABC)", "(ED F)", "(ABC)"})
        pdf.AddContentPage(std::string("BT /T 24 Tf 72 700 Td ") + codes + " Tj ET", resources);
    pdf.Write(host.folder / "thai.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "thai.pdf"), DocumentHandle::Ownership::Borrowed);
    EXPECT_EQ(Split(doc, Text("ภาษา")), (Spans{"1-1", "2-3", "4-4"}));
    EXPECT_EQ(Split(doc, Text("กั")), (Spans{"1-2", "3-4"}));
    SplitSettings s;
    s.Filename.FileNameConstructionMode = NameConstructionMode::AddTextFromPage;
    s.Filename.TextArea.right = s.Filename.TextArea.bottom = Fixed16::FromRealRounded(800);
    s.Outputs.push_back(OutputDocument{{MakePageRange(2, 1)}, ""});
    EXPECT_EQ(NameOutputs(s, doc, std::tm{}).at(0).file.find("\xED\xA0\x80"), std::string::npos);
}

// DejaVu Sans, embedded in place of the fonts real files carry.
class DejaVu {
public:
    DejaVu() { FT_Init_FreeType(&library), FT_New_Face(library, kProgram, 0, &face); }
    ~DejaVu() { FT_Done_Face(face), FT_Done_FreeType(library); }
    FT_UInt Glyph(char32_t c) const { return FT_Get_Char_Index(face, c); }
    long Width(FT_UInt glyph) const {
        FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE);
        return face->glyph->advance.x * 1000 / face->units_per_EM;
    }
    QPDFObjectHandle Descriptor(QPDF& q, const std::string& program) const {
        QPDFObjectHandle descriptor = q.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /FontDescriptor /FontName /DejaVuSans /Flags 4 /FontBBox [ 0 -200 1000 900 ] /ItalicAngle 0 "
            "/Ascent 900 /Descent -200 /CapHeight 700 /StemV 80 >>"));
        descriptor.replaceKey("/FontFile2", QPDFObjectHandle::newStream(&q, program));
        return descriptor;
    }
    // The program, with a 'post' table that names the given glyphs and no others.
    std::string Program(const std::map<FT_UInt, std::string>& names = {}) const {
        std::string program = test::ReadFile(kProgram);
        if (names.empty()) return program;
        const auto put = [](std::string& s, std::size_t at, unsigned long v, int bytes) {
            for (int i = bytes - 1; i >= 0; --i, v >>= 8) s[at + i] = static_cast<char>(v & 0xFF);
        };
        std::string post(34 + 2 * face->num_glyphs, '\0');
        put(post, 0, 0x20000, 4), put(post, 32, face->num_glyphs, 2);
        unsigned index = 258;  // after the 258 names every TrueType program knows
        for (const auto& [glyph, name] : names) put(post, 34 + 2 * glyph, index++, 2), post += char(name.size()) + name;
        program.resize((program.size() + 3) / 4 * 4, '\0');
        for (std::size_t record = 12; record < 12 + 16 * std::size_t(program[5]); record += 16)
            if (program.compare(record, 4, "post") == 0)
                put(program, record + 8, program.size(), 4), put(program, record + 12, post.size(), 4);
        return program + post;
    }

private:
    static constexpr const char* kProgram = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// Fonts whose text only their embedded program holds: a TrueType CIDFont
// without ToUnicode shown by glyph numbers (Identity-H), as office programs
// write them, read through the program's Unicode cmap backwards; and a
// symbolic TrueType font without /Encoding whose 'post' table alone names
// its glyphs.
TEST_F(TextScanTest, EmbeddedFontProgramsGiveTheTextOfFontsWithoutUnicode) {
    const DejaVu dejaVu;
    test::PdfFixture pdf(1);
    QPDF& q = pdf.Qpdf();
    // Glyph numbers with their widths as /W gives them, so that words stay whole.
    std::string widths = "[", shown = "<";
    for (const char32_t c : std::u32string(U"Язык")) {
        char number[8];
        std::snprintf(number, sizeof number, "%04X", dejaVu.Glyph(c));
        widths += " " + std::to_string(dejaVu.Glyph(c)) + " [ " + std::to_string(dejaVu.Width(dejaVu.Glyph(c))) + " ]";
        shown += number;
    }
    QPDFObjectHandle cidFont = q.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /DejaVuSans /CIDSystemInfo << /Registry (Adobe) "
        "/Ordering (Identity) /Supplement 0 >> /CIDToGIDMap /Identity >>"));
    cidFont.replaceKey("/FontDescriptor", dejaVu.Descriptor(q, dejaVu.Program()));
    cidFont.replaceKey("/W", QPDFObjectHandle::parse(widths + " ]"));
    QPDFObjectHandle resources = QPDFObjectHandle::parse(
        "<< /Font << /C << /Type /Font /Subtype /Type0 /BaseFont /DejaVuSans /Encoding /Identity-H >> /P << /Type "
        "/Font /Subtype /TrueType /BaseFont /DejaVuSans /FirstChar 65 /LastChar 67 /Widths [ 600 600 600 ] >> >> >>");
    resources.getKey("/Font").getKey("/C").replaceKey("/DescendantFonts", QPDFObjectHandle::newArray({cidFont}));
    resources.getKey("/Font").getKey("/P").replaceKey(
        "/FontDescriptor",
        dejaVu.Descriptor(q, dejaVu.Program({{dejaVu.Glyph('A'), "ThaiCharacterPhoSamphao"},
                                             {dejaVu.Glyph('B'), "ThaiCharacterSaraAa"},
                                             {dejaVu.Glyph('C'), "ThaiCharacterSoRusi_ThaiCharacterSaraAa"}})));
    for (const std::string& text : {"/C 24 Tf 72 700 Td " + shown + "> Tj", std::string("/P 24 Tf 72 700 Td (BA) Tj"),
                                    std::string("/P 24 Tf 72 700 Td (ABC) Tj")})
        pdf.AddContentPage("BT " + text + " ET", resources);
    pdf.Write(host.folder / "programs.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "programs.pdf"), DocumentHandle::Ownership::Borrowed);
    EXPECT_EQ(Split(doc, Text("Язык")), (Spans{"1-1", "2-4"}));
    EXPECT_EQ(Split(doc, Text("ภาษา")), (Spans{"1-3", "4-4"}));
}

// Sheets of one colour between documents: a yellow divider with a word on it,
// a scanned one a little off its colour, and a black sheet.
TEST_F(TextScanTest, SheetsOfOneColourAreSeparatorsWithinTheirTolerance) {
    test::PdfFixture pdf(std::vector<std::string>{"Letter one"});
    const QPDFObjectHandle font =
        QPDFObjectHandle::parse("<< /Font << /F << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >>");
    for (const char* page : {"1 1 0 rg 0 0 612 792 re f 0 g BT /F 10 Tf 72 40 Td (divider) Tj ET",
                             "BT /F 12 Tf 72 700 Td (Letter two) Tj ET", "0 g 0 0 612 792 re f",
                             "BT /F 12 Tf 72 700 Td (Letter three) Tj ET", "0.95 0.92 0.2 rg 0 0 612 792 re f"})
        pdf.AddContentPage(page, font);
    pdf.Write(host.folder / "sheets.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "sheets.pdf"), DocumentHandle::Ownership::Borrowed);
    OutputSettings o;
    const auto split = [&](const DocumentHandle& pages, std::int32_t colour, int tolerance, bool duplex = false) {
        o.SheetColour = colour, o.SheetTolerance = tolerance, o.Duplex = duplex;
        OutputList outputs;
        EXPECT_TRUE(SplitAtSeparators(pages, outputs, SeparatorKind::ColouredSheet, 0.004, {}, 1, &o));
        return SpansOf(outputs);
    };
    EXPECT_EQ(split(doc, 0xFFFF00, 64), (Spans{"1-1", "3-5"}));
    EXPECT_EQ(split(doc, 0xFFFF00, 10), (Spans{"1-1", "3-6"})) << "the scanned yellow is too far off";
    EXPECT_EQ(split(doc, 0x000000, 64), (Spans{"1-3", "5-6"}));

    // Duplex: a black sheet's blank or black back goes with it; a letter's own blank back stays.
    test::PdfFixture duplex(std::vector<std::string>{"Letter A"});
    for (const char* page : {"", "0 g 0 0 612 792 re f", "", "BT /F 12 Tf 72 700 Td (Letter B) Tj ET",
                             "BT /F 12 Tf 72 700 Td (Letter B back) Tj ET", "0 g 0 0 612 792 re f",
                             "0 g 0 0 612 792 re f", "BT /F 12 Tf 72 700 Td (Letter C) Tj ET", ""})
        duplex.AddContentPage(page, font);
    duplex.Write(host.folder / "duplex.pdf");
    const DocumentHandle sheets(host.OpenActive(host.folder / "duplex.pdf"), DocumentHandle::Ownership::Borrowed);
    EXPECT_EQ(split(sheets, 0x000000, 64, true), (Spans{"1-2", "5-6", "9-10"}));
    EXPECT_EQ(split(sheets, 0x000000, 64), (Spans{"1-2", "4-6", "9-10"}));
}

// A scanned back whose noise a stored image keeps (raw here; JPEG in real
// scans) is no blank page by its size, and blank by its pixels; a scanned
// back with a line on it stays.
TEST_F(TextScanTest, ANoisyScannedBackGoesWithItsSeparatorAndABackWithALineStays) {
    test::PdfFixture pdf(std::vector<std::string>{"Letter A"});
    const auto addScan = [&pdf](bool line) {
        std::string pixels(200 * 260, '\0');
        std::uint32_t seed = 7;
        for (char& pixel : pixels) pixel = static_cast<char>(230 + (seed = seed * 1103515245u + 12345u) % 26);
        for (int y = 100; line && y < 103; ++y) std::fill_n(pixels.begin() + y * 200 + 40, 120, '\x20');
        QPDFObjectHandle resources = QPDFObjectHandle::parse("<< /XObject << >> >>");
        resources.getKey("/XObject").replaceKey("/I", pdf.GrayImage(200, 260, pixels));
        pdf.AddContentPage("q 612 0 0 792 0 0 cm /I Do Q", resources);
    };
    for (const bool line : {false, true}) {
        pdf.AddContentPage("");
        pdf.AddContentPage("0 g 0 0 612 792 re f");
        addScan(line);
        pdf.AddContentPage(
            "BT /F1 12 Tf 72 700 Td (Letter) Tj ET",
            QPDFObjectHandle::parse("<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >>"));
    }
    pdf.Write(host.folder / "backs.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "backs.pdf"), DocumentHandle::Ownership::Borrowed);
    OutputSettings o;
    o.Duplex = true;
    OutputList outputs;
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, SeparatorKind::ColouredSheet, 0.004, {}, 1, &o));
    EXPECT_EQ(SpansOf(outputs), (Spans{"1-2", "5-6", "8-9"}));
}

TEST(WordsReadAheadTest, AScanFromFirstToLastPageReadsWhatSinglePagesRead) {
    const auto described = [](const std::vector<host::PageWord>& words) {
        std::ostringstream out;
        for (const host::PageWord& word : words) {
            out << "\n" << word.text;
            for (const host::WordBox& b : word.quads)
                out << " " << b.minX << "," << b.minY << "," << b.maxX << "," << b.maxY;
        }
        return out.str();
    };
    // The damaged file's page tree is read differently by MuPDF and qpdf; the
    // lying one's only from its 12th page, which threads read ahead of the scan.
    test::TempFolder folder;
    const std::string lying = folder / "lying-count.pdf";
    WriteLyingCount(lying, 40, 10);
    for (const std::string& file : {test::DataFile("damaged-xref-outlines-labels-recoverable.pdf"), lying}) {
        SCOPED_TRACE(file);
        pdf::DocumentStore store;
        const host::DocId doc = store.Open(file);
        pdf::MupdfWordFinder words(store);
        const host::WordFinderId scan = words.CreateWordFinder(doc, 0), single = words.CreateWordFinder(doc, 0);
        const int pages = store.Get(doc).PageCount();
        std::vector<std::string> scanned;
        for (int page = 0; page < pages; ++page) {
            scanned.push_back(described(words.PageWords(scan, page)));
            if (page == 1) std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the threads get ahead
        }
        for (int page = pages - 1; page >= 0; --page)  // backwards: nothing is read ahead
            EXPECT_EQ(described(words.PageWords(single, page)), scanned[static_cast<std::size_t>(page)]) << page;
    }
}

}  // namespace
}  // namespace tessera
