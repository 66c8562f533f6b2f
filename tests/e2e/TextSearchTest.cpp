// Pages found by their text on real documents, checked against pdftotext.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

// The 1-based pages whose pdftotext text grep finds the word in.
std::string PagesByGrep(const std::string& file, const std::string& word, const std::string& grepFlags) {
    TempFolder pages;
    const auto texts = PageTexts(std::string(TESSERA_TEST_DATA) + "/" + file);
    for (std::size_t p = 0; p < texts.size(); ++p) std::ofstream(pages / std::to_string(p + 1)) << texts[p];
    const CommandResult r = RunCommand("cd " + ShellQuote(pages.Path()) + " && LC_ALL=C.UTF-8 grep -l " + grepFlags +
                                       " " + ShellQuote(word) + " * | sort -n | paste -sd,");
    return r.output.substr(0, r.output.find('\n'));
}

TEST(TextSearchTest, FoundPagesAgreeWithPdftotext) {
    TempFolder config;
    struct Case {
        const char* file;
        const char* word;
        const char* options;
        const char* grepFlags;
    } cases[] = {{"multicolumn-latex-2col.pdf", "Lorem", "", "-i"},
                 {"ctex-manual-chinese.pdf", "字体", "", "-F"},
                 {"abntex2-thesis-blank-versos-outline-depth6.pdf", "REFERÊNCIAS", "--whole-words", "-i -w"},
                 {"abntex2-thesis-blank-versos-outline-depth6.pdf", "Referências", "--match-case", "-F"}};
    for (const Case& c : cases) {
        const CommandResult r = Tessera(config, "split --reset --dry-run " + std::string(c.options) + " --doc " +
                                                    ShellQuote("/" + std::string(c.word) + "/") + " " + Data(c.file));
        ASSERT_EQ(r.status, 0) << c.file;
        const std::string expected = PagesByGrep(c.file, c.word, c.grepFlags);
        EXPECT_FALSE(expected.empty()) << c.word;
        EXPECT_EQ(PlannedPages(r), expected) << c.word << " in " << c.file;
    }
}

TEST(TextSearchTest, SeparatorsAndAreasOnARotatedPage) {
    TempFolder config;
    // Page 6 is turned by 90 degrees: its running head "K. T. Smith" then lies
    // along the right edge of the page as shown (checked on its rendering).
    const CommandResult r = Tessera(config, "split --reset --dry-run --prefix none --separator text=Smith --area 682,0,782,595 " +
                                                Data("mnras-guide-2col-rotated-page.pdf"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "1\tDoc1.pdf\t1-5\n2\tDoc2.pdf\t6-10\n");

    const CommandResult everywhere = Tessera(config, "split --reset --dry-run --prefix none --separator text=Smith " +
                                                         Data("mnras-guide-2col-rotated-page.pdf"));
    EXPECT_EQ(PlanLines(everywhere.output).size(), 6u) << "the head of every even page, and page 1";
}

TEST(TextSearchTest, HandMadeOutputsMixPagesAndQueries) {
    TempFolder config, out;
    const CommandResult r = Tessera(config, "split --reset --quiet --prefix none -o " + ShellQuote(out.Path()) +
                                                " --doc 'first=1,/Lorem/' --doc 'rest=z-2' --doc 'none=/qwertyuiop/' " +
                                                Data("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(PageTexts(out / "DOCFIRST.pdf").size(), 3u);
    EXPECT_EQ(PageTexts(out / "DOCREST.pdf").size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(out / "DOCNONE.pdf")) << "an output whose query found nothing is left out";
    const CommandResult bad = Tessera(config, "split --reset --dry-run --doc '1,/x' " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("at column 3"), std::string::npos) << bad.output;
}

TEST(TextSearchTest, InvalidRegularExpressionsAreUsageErrors) {
    TempFolder config, out;
    const std::pair<std::string, std::string> cases[] = {
        {"--doc '/Part (1/'", "\"Part (1\" is not valid: missing closing parenthesis (at offset 7)"},
        {"--separator 'text=a)b'", "\"a)b\" is not valid: unmatched closing parenthesis (at offset 1)"}};
    for (const auto& [options, why] : cases) {
        const CommandResult r = Tessera(config, "split --reset --quiet --regex -o " + ShellQuote(out.Path()) + " " +
                                                    options + " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
        EXPECT_EQ(r.status, 2) << options;
        EXPECT_EQ(r.output.rfind("tessera: ", 0), 0u) << r.output;
        EXPECT_NE(r.output.find(why), std::string::npos) << r.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(out.Path())) << "nothing is scanned or written";
}

TEST(TextSearchTest, RunawayPatternIsReportedNotHanging) {
    TempFolder config;
    const auto start = std::chrono::steady_clock::now();
    const CommandResult r = Tessera(config, "split --reset --dry-run --regex --separator 'text=(\\w+\\s?)+$x' " +
                                                Data("mnras-guide-2col-rotated-page.pdf") + " 2>&1");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("needs too many steps"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace tessera::test
