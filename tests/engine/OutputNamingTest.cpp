#include "engine/OutputNaming.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/OutputPlanner.h"
#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"
#include "support/PdfFixture.h"
#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

using enum NameConstructionMode;
using enum AutoPrefix;

std::tm Day(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    return t;
}

class OutputNamingTest : public testing::Test {
protected:
    test::ScopedLanguageTable table;

    // Names of `outputs` (relative files) with the given settings, over the source `file`.
    std::vector<std::string> Names(SplitSettings& s, const std::string& file = "damaged-xref-outlines-labels-recoverable.pdf") {
        const DocumentHandle source(host.OpenActive(file), DocumentHandle::Ownership::Borrowed);
        entries = NameOutputs(s, source, Day(2005, 5, 5));
        std::vector<std::string> names;
        for (const IndexEntry& e : entries) names.push_back(e.file);
        return names;
    }
    static SplitSettings Unnamed(int count, NameConstructionMode mode, std::string base = "Part") {
        SplitSettings s;
        s.Filename.OutputFolder = "/out/";
        s.Filename.OutputBaseFilename = std::move(base);
        s.Filename.FileNameAutoPrefix = PrefixNone;
        s.Filename.FileNameConstructionMode = mode;
        for (int i = 0; i < count; ++i) s.Outputs.push_back(OutputDocument{{MakePageRange(i, 1, 0)}, ""});
        return s;
    }
    test::TestHost host;
    std::vector<IndexEntry> entries;
};

TEST_F(OutputNamingTest, NumbersAndLetters) {
    SplitSettings s = Unnamed(3, AddNumber);
    EXPECT_EQ(Names(s), (std::vector<std::string>{"Part1.pdf", "Part2.pdf", "Part3.pdf"}));
    EXPECT_EQ(s.Outputs[1].Filename, "/out/Part2.pdf");
    EXPECT_EQ(entries[1].title, "Part2");
    EXPECT_EQ(entries[1].level, 0);

    SplitSettings letters = Unnamed(30, AddLetter, "");
    const auto names = Names(letters);
    EXPECT_EQ(names[0], "A.pdf");
    EXPECT_EQ(names[25], "Z.pdf");
    EXPECT_EQ(names[26], "AA.pdf");
    EXPECT_EQ(names[27], "BB.pdf");
    EXPECT_EQ(names[29], "DD.pdf");
}

TEST_F(OutputNamingTest, PageSpansAndLabelsAreMadeUnique) {
    SplitSettings spans = Unnamed(0, AddPageRanges, "");
    spans.Outputs = {OutputDocument{{MakePageRange(2, 5, 0)}, ""}, OutputDocument{{MakePageRange(2, 5, 0)}, ""},
                     OutputDocument{{}, ""}};
    EXPECT_EQ(Names(spans), (std::vector<std::string>{"FROM_3_TO_7.pdf", "FROM_3_TO_7_1.pdf", "NOPAGES.pdf"}));

    // Labels of the qpdf test file: pages 1-2 have an empty label, 3-7 are 1-5,
    // 10-11 are VI-VII, 13-15 are ii-iv.
    SplitSettings labels = Unnamed(0, AddPageLabel, "L");
    for (int page : {0, 2, 9, 13, 2, 2, 1})
        labels.Outputs.push_back(OutputDocument{{MakePageRange(page, 1, 0)}, ""});
    labels.Outputs.push_back(OutputDocument{{}, ""});
    EXPECT_EQ(Names(labels), (std::vector<std::string>{"L1.pdf", "L1_1.pdf", "LVI.pdf", "LIII.pdf", "L1_2.pdf",
                                                       "L1_3.pdf", "L7.pdf", "L.pdf"}))
        << "a page without a label falls back to the output's number, made unique like any label";
}

TEST_F(OutputNamingTest, BookmarkNamesWithAndWithoutFolders) {
    test::PdfFixture pdf(6);
    QPDFObjectHandle ch = pdf.ItemToPage("Chapter 1", 0), intro1 = pdf.ItemToPage("Intro", 1),
                     intro2 = pdf.ItemToPage("Intro", 3);
    pdf.SetChildren({}, {ch});
    pdf.SetChildren(ch, {intro1, intro2});
    pdf.Write(host.folder / "chapters.pdf");
    for (bool folders : {true, false}) {
        SplitSettings s;
        s.Filename.OutputFolder = "/out/";
        s.Filename.OutputBaseFilename = "";
        s.Filename.FileNameAutoPrefix = PrefixNone;
        s.Filename.CreateFoldersForBookmarks = folders;
        const DocumentHandle source(host.OpenActive(host.folder / "chapters.pdf"), DocumentHandle::Ownership::Borrowed);
        s.Outputs = PlanBookmarkLevels(source, 2, 2).value();
        const auto names = Names(s, host.folder / "chapters.pdf");
        if (folders)
            EXPECT_EQ(names, (std::vector<std::string>{"CHAPTER 1\\INTRO.pdf", "CHAPTER 1\\INTRO_1.pdf"}));
        else
            EXPECT_EQ(names, (std::vector<std::string>{"INTRO.pdf", "INTRO_1.pdf"}));
        EXPECT_EQ(entries[0].title, "Intro");
        EXPECT_EQ(entries[0].level, 1);
    }
}

TEST_F(OutputNamingTest, PrefixesAndUnsafeCharacters) {
    SplitSettings s = Unnamed(1, AddNumber, "a.b:c");
    s.Filename.FileNameAutoPrefix = PrefixFilename;
    EXPECT_EQ(Names(s), (std::vector<std::string>{"damaged-xref-outlines-labels-recoverablea_b_c1.pdf"}));

    SplitSettings dated = Unnamed(1, AddNumber, "");
    dated.Filename.FileNameAutoPrefix = PrefixTodaysDate;
    EXPECT_EQ(Names(dated), (std::vector<std::string>{"-5-20051.pdf"})) << "no language file: empty month name";
    TheLanguageTable().LoadPiece("IDS_MONTH_MAY=May\n");
    SplitSettings datedAgain = Unnamed(1, AddNumber, "");
    datedAgain.Filename.FileNameAutoPrefix = PrefixTodaysDate;
    EXPECT_EQ(Names(datedAgain), (std::vector<std::string>{"May-5-20051.pdf"}));

    SplitSettings named = Unnamed(0, AddNumber, "");
    named.Outputs = {OutputDocument{{MakePageRange(0, 1, 0)}, "Summary.final"},
                     OutputDocument{{MakePageRange(1, 1, 0)}, "résumé"}, OutputDocument{{MakePageRange(1, 1, 0)}, ".."}};
    EXPECT_EQ(Names(named), (std::vector<std::string>{"SUMMARY.pdf", "RÉSUMÉ.pdf", "_.pdf"}))
        << "the part from the last dot is the extension; names are upper-cased per character";
}

TEST_F(OutputNamingTest, EveryOutputGetsAFileOfItsOwnAndAVisibleName) {
    test::PdfFixture pdf(3);
    pdf.Qpdf().getRoot().replaceKey("/PageLabels", QPDFObjectHandle::parse("<< /Nums [0 << /P (x/y) >> 1 << /P (x:y) >> "
                                                                           "2 << /P (x_y) >> ] >>"));
    pdf.Write(host.folder / "labels.pdf");
    const auto named = [](const std::string& name, int page) { return OutputDocument{{MakePageRange(page, 1, 0)}, name}; };
    struct Case {
        const char* what;
        NameConstructionMode mode;
        std::string base;
        bool folders;
        std::vector<OutputDocument> outputs;
        std::vector<std::string> expected;
    } cases[] = {
        {"names that differ in replaced characters", AddNumber, "", false, {named("a;b", 0), named("a:b", 1)},
         {"A_B.pdf", "A_B_1.pdf"}},
        {"a number beside a name", AddNumber, "", false, {named("2", 2), named("", 0)}, {"2.pdf", "2_1.pdf"}},
        {"a name beside a number", AddNumber, "X", false, {named("", 0), named("1", 1)}, {"X1.pdf", "X1_1.pdf"}},
        {"labels that differ in replaced characters", AddPageLabel, "", false,
         {named("", 0), named("", 1), named("", 2)}, {"X_Y.pdf", "X_Y_1.pdf", "X_Y_2.pdf"}},
        {"no automatic part", NameConstructionMode{99}, "Doc", false, {named("", 0), named("", 1)},
         {"Doc.pdf", "Doc_1.pdf"}},
        {"empty folder names", AddNumber, "", true, {named("P\\\\DOC", 0), named("P\\DOC", 1), named("\\Q", 2)},
         {"P\\DOC.pdf", "P\\DOC_1.pdf", "Q.pdf"}},
        {"no name at all", NameConstructionMode{99}, "", true, {named("", 0), named(".pdf", 1), named("P\\", 2)},
         {"1.pdf", "2.pdf", "P\\3.pdf"}},
    };
    for (Case& c : cases) {
        SplitSettings s = Unnamed(0, c.mode, c.base);
        s.Filename.CreateFoldersForBookmarks = c.folders;
        s.Outputs = c.outputs;
        EXPECT_EQ(Names(s, host.folder / "labels.pdf"), c.expected) << c.what;
    }
}

TEST_F(OutputNamingTest, FileNamesFitInTheirBytesAndStayUnique) {
    const std::string e130 = [] {
        std::string t;
        for (int i = 0; i < 130; ++i) t += "é";
        return t;
    }();
    SplitSettings s = Unnamed(11, AddNumber, e130);
    const auto names = Names(s);
    EXPECT_EQ(names[0], CutToBytes(e130, 251) + ".pdf") << "cut at a character boundary";
    EXPECT_EQ(names[10], CutToBytes(e130, 248) + "_10.pdf");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    SplitSettings same = Unnamed(0, AddNumber, "");
    same.Outputs = {OutputDocument{{MakePageRange(0, 1, 0)}, std::string(300, 'x') + "a"},
                    OutputDocument{{MakePageRange(0, 1, 0)}, std::string(300, 'x') + "b"}};
    EXPECT_EQ(Names(same), (std::vector<std::string>{std::string(251, 'X') + ".pdf", std::string(249, 'X') + "_1.pdf"}))
        << "names equal after the cut";
}

TEST(UsedNamesTest, CaseInsensitive) {
    UsedNames used;
    EXPECT_EQ(used.MakeUniqueName("intro"), "intro");
    EXPECT_EQ(used.MakeUniqueName("Intro"), "Intro_1");
    EXPECT_EQ(used.MakeUniqueName("INTRO"), "INTRO_2");
    EXPECT_EQ(MonthName(0), "Unknown");
    EXPECT_EQ(MonthName(13), "Unknown");
    // Many names alike, one taken already: minutes when each counted up from 1.
    std::string last;
    for (int i = 0; i < 50000; ++i) last = used.MakeUniqueName("intro_1");
    EXPECT_EQ(last, "intro_1_50000");
}

TEST(FileSystemPathTest, SubfolderMarksBecomeSlashesAfterTheFolder) {
    EXPECT_EQ(FileSystemPath("/a\\b/", "/a\\b/CHAPTER 1\\INTRO.pdf"), "/a\\b/CHAPTER 1/INTRO.pdf");
    EXPECT_EQ(FileSystemPath("", "X\\Y.pdf"), "X/Y.pdf");
}

}  // namespace
}  // namespace tessera
