// The file name and index entry each planned output gets.

#include "engine/HtmlIndex.h"
#include "engine/OutputNaming.h"
#include "strings/Utf8Text.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

using enum NameConstructionMode;
using enum AutoPrefix;

// The qpdf test file: pages 1-2 have an empty label, 3-7 are 1-5, 10-11 are VI-VII, 13-15 are ii-iv.
constexpr const char* kLabelled = "damaged-xref-outlines-labels-recoverable.pdf";

OutputDocument Named(const std::string& name, int page) { return OutputDocument{{MakePageRange(page, 1)}, name}; }

class OutputNamingTest : public testing::Test {
protected:
    // Names of the outputs (relative files) over kLabelled, made on 5 May 2005.
    std::vector<std::string> Names(SplitSettings& s) {
        const DocumentHandle source(host.OpenActive(kLabelled), DocumentHandle::Ownership::Borrowed);
        std::tm day{};
        day.tm_year = 105, day.tm_mon = 4, day.tm_mday = 5;
        entries = NameOutputs(s, source, day);
        std::vector<std::string> names;
        for (const IndexEntry& e : entries) names.push_back(e.file);
        return names;
    }
    static SplitSettings Settings(NameConstructionMode mode, std::string base,
                                  std::vector<OutputDocument> outputs = {}) {
        SplitSettings s;
        s.Filename.OutputFolder = "/out/";
        s.Filename.OutputBaseFilename = std::move(base);
        s.Filename.FileNameAutoPrefix = PrefixNone;
        s.Filename.FileNameConstructionMode = mode;
        s.Outputs = std::move(outputs);
        return s;
    }
    test::ScopedLanguageTable table;
    test::TestHost host;
    std::vector<IndexEntry> entries;
};

TEST_F(OutputNamingTest, EveryOutputGetsAFileOfItsOwnAndAVisibleName) {
    const auto P = [](int page) { return Named("", page); };
    const OutputDocument span{{MakePageRange(2, 5)}, ""}, intro = Named("Chapter 1\\Intro", 1);
    const struct Case {
        const char* name;
        NameConstructionMode mode;
        std::string base;
        std::vector<OutputDocument> outputs;
        std::vector<std::string> expected;
        bool folders = false;
        AutoPrefix prefix = PrefixNone;
    } cases[] = {
        {"numbers", AddNumber, "Part", {P(0), P(1), P(2)}, {"Part1.pdf", "Part2.pdf", "Part3.pdf"}},
        {"page spans", AddPageRanges, "", {span, span, {}}, {"FROM_3_TO_7.pdf", "FROM_3_TO_7_1.pdf", "NOPAGES.pdf"}},
        {"labels, else the output's number",
         AddPageLabel,
         "L",
         {P(0), P(2), P(9), P(13), P(2), P(2), P(1), {}},
         {"L1.pdf", "L1_1.pdf", "LVI.pdf", "LIII.pdf", "L1_2.pdf", "L1_3.pdf", "L7.pdf", "L.pdf"}},
        {"the file name prefix and unsafe characters",
         AddNumber,
         "a.b:c",
         {P(0)},
         {"damaged-xref-outlines-labels-recoverablea_b_c1.pdf"},
         false,
         PrefixFilename},
        {"names lose their extension and are upper-cased per character",
         AddNumber,
         "",
         {Named("Summary.final", 0), Named("résumé", 1), Named("..", 1)},
         {"SUMMARY.pdf", "RÉSUMÉ.pdf", "_.pdf"}},
        {"names that differ in replaced characters",
         AddNumber,
         "",
         {Named("a;b", 0), Named("a:b", 1)},
         {"A_B.pdf", "A_B_1.pdf"}},
        {"a number beside a name", AddNumber, "", {Named("2", 2), P(0)}, {"2.pdf", "2_1.pdf"}},
        {"a name beside a number", AddNumber, "X", {P(0), Named("1", 1)}, {"X1.pdf", "X1_1.pdf"}},
        {"no automatic part", NameConstructionMode{99}, "Doc", {P(0), P(1)}, {"Doc.pdf", "Doc_1.pdf"}},
        {"empty folder names",
         AddNumber,
         "",
         {Named("P\\\\DOC", 0), Named("P\\DOC", 1), Named("\\Q", 2)},
         {"P\\DOC.pdf", "P\\DOC_1.pdf", "Q.pdf"},
         true},
        {"no name at all",
         NameConstructionMode{99},
         "",
         {P(0), Named(".pdf", 1), Named("P\\", 2)},
         {"1.pdf", "2.pdf", "P\\3.pdf"},
         true},
        {"bookmark folders", AddNumber, "", {intro, intro}, {"CHAPTER 1\\INTRO.pdf", "CHAPTER 1\\INTRO_1.pdf"}, true},
        {"bookmark folders left out", AddNumber, "", {intro, intro}, {"INTRO.pdf", "INTRO_1.pdf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitSettings s = Settings(c.mode, c.base, c.outputs);
        s.Filename.CreateFoldersForBookmarks = c.folders;
        s.Filename.FileNameAutoPrefix = c.prefix;
        EXPECT_EQ(Names(s), c.expected);
    }
}

TEST_F(OutputNamingTest, NumbersLettersAndDatesGiveThePathAndTheIndexEntry) {
    SplitSettings s = Settings(AddNumber, "Part", {Named("", 0), Named("Chapter 1\\Intro", 1)});
    Names(s);
    EXPECT_EQ(s.Outputs[0].Filename, "/out/Part1.pdf");
    EXPECT_EQ(std::tuple(entries[0].title, entries[0].level), std::tuple("Part1", 0));
    EXPECT_EQ(std::tuple(entries[1].title, entries[1].level), std::tuple("Intro", 1)) << "a bookmark's own title";

    SplitSettings letters = Settings(AddLetter, "", std::vector<OutputDocument>(30, Named("", 0)));
    const auto names = Names(letters);
    for (const auto& [i, name] : {std::pair{0, "A.pdf"}, {25, "Z.pdf"}, {26, "AA.pdf"}, {27, "BB.pdf"}, {29, "DD.pdf"}})
        EXPECT_EQ(names[i], name);

    // Today's date prefix names the month in the user's language.
    SplitSettings dated = Settings(AddNumber, "", {Named("", 0)});
    dated.Filename.FileNameAutoPrefix = PrefixTodaysDate;
    SplitSettings again = dated;  // naming sets each output's path
    EXPECT_EQ(Names(dated), std::vector<std::string>{"-5-20051.pdf"}) << "no language file: empty month name";
    TheLanguageTable().LoadPiece("IDS_MONTH_MAY=May\n");
    EXPECT_EQ(Names(again), std::vector<std::string>{"May-5-20051.pdf"});
    EXPECT_EQ(MonthName(0), "Unknown");
    EXPECT_EQ(MonthName(13), "Unknown");
}

TEST_F(OutputNamingTest, FileNamesFitInTheirBytesAndStayUnique) {
    std::string e130;
    for (int i = 0; i < 130; ++i) e130 += "é";
    SplitSettings s = Settings(AddNumber, e130, std::vector<OutputDocument>(11, Named("", 0)));
    const auto names = Names(s);
    EXPECT_EQ(names[0], CutToBytes(e130, 251) + ".pdf") << "cut at a character boundary";
    EXPECT_EQ(names[10], CutToBytes(e130, 248) + "_10.pdf");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    SplitSettings same =
        Settings(AddNumber, "", {Named(std::string(300, 'x') + "a", 0), Named(std::string(300, 'x') + "b", 0)});
    EXPECT_EQ(Names(same), (std::vector<std::string>{std::string(251, 'X') + ".pdf", std::string(249, 'X') + "_1.pdf"}))
        << "names equal after the cut";
}

TEST(UsedNamesTest, NamesDifferingOnlyInCaseAreOneName) {
    UsedNames used;
    EXPECT_EQ(used.MakeUniqueName("intro"), "intro");
    EXPECT_EQ(used.MakeUniqueName("Intro"), "Intro_1");
    EXPECT_EQ(used.MakeUniqueName("INTRO"), "INTRO_2");
    // Many names alike, one taken already: minutes when each counted up from 1.
    std::string last;
    for (int i = 0; i < 50000; ++i) last = used.MakeUniqueName("intro_1");
    EXPECT_EQ(last, "intro_1_50000");
    EXPECT_EQ(FileSystemPath("/a\\b/", "/a\\b/CHAPTER 1\\INTRO.pdf"), "/a\\b/CHAPTER 1/INTRO.pdf")
        << "subfolder marks become slashes after the folder only";
    EXPECT_EQ(FileSystemPath("", "X\\Y.pdf"), "X/Y.pdf");
}

TEST(HtmlIndexTest, ListsOutputsIndentedByLevelAsEscapedTextAndEncodedLinks) {
    const std::vector<IndexEntry> entries = {{"C# & F#.pdf", "C# & F#", 0, ""},
                                             {"CHAPTER 1\\<B>X%.pdf", "<b>x é", 1, ""}};
    EXPECT_EQ(HtmlIndexText("/in/<img src=x onerror=alert(1)>.pdf", entries),
              "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
              "<TITLE>&lt;img src=x onerror=alert(1)&gt;.pdf</TITLE>\n</HEAD>\n<BODY>\n"
              "<H2>Input document: /in/&lt;img src=x onerror=alert(1)&gt;.pdf</H2>\n"
              "<H2>Output documents:</H2>\n<A href=\"C%23%20%26%20F%23.pdf\">C# &amp; F#</A><BR>\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"CHAPTER%201/%3CB%3EX%25.pdf\">&lt;b&gt;x é</A><BR>\n"
              "</BODY>\n</HTML>\n");
    EXPECT_EQ(HtmlIndexPath("/out/", "/in/Report.v2.pdf"), "/out/Report.v2_index.htm");
    EXPECT_EQ(HtmlIndexPath("", "Report.pdf"), "Report_index.htm");
    EXPECT_EQ(HtmlIndexPath("/out/", "/in/" + std::string(251, 'r') + ".pdf"),
              "/out/" + std::string(245, 'r') + "_index.htm")
        << "a file name fits in 255 bytes";
}

}  // namespace
}  // namespace tessera
