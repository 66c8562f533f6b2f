#include "analysis/SearchPattern.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tessera {
namespace {

struct SearchCase {
    const char* name;
    const char* pattern;
    bool regex, whole, matchCase;
    const char* text;
    bool matches;
};

class SearchPatternTest : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchPatternTest, MatchesAsTheQuerySays) {
    const SearchCase& c = GetParam();
    TextQuery q;
    q.Pattern = c.pattern;
    q.UseRegExp = c.regex;
    q.WholeWords = c.whole;
    q.MatchCase = c.matchCase;
    SearchPattern pattern;
    ASSERT_TRUE(CompileTextQuery(pattern, q)) << c.pattern;
    EXPECT_EQ(pattern.Find(c.text) == MatchResult::Match, c.matches) << c.pattern << " in " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchPatternTest,
    testing::Values(SearchCase{"PlainDotIsLiteral", "a.b", false, false, false, "axb a.b ", true},
                    SearchCase{"PlainDotOnlyLiteral", "a.b", false, false, false, "axb ", false},
                    SearchCase{"PlainBracesReachPcre", "a{2}", false, false, false, "baab ", true},
                    SearchCase{"PlainRegexCharacters", "(1+1)*[2]?", false, false, false, "is (1+1)*[2]? ", true},
                    SearchCase{"WholeWordNotInside", "cat", false, true, false, "concatenate ", false},
                    SearchCase{"WholeWordAlone", "cat", false, true, false, "the cat sat ", true},
                    SearchCase{"CaselessByDefault", "CAT", false, false, false, "cat ", true},
                    SearchCase{"MatchCase", "CAT", false, false, true, "cat ", false},
                    SearchCase{"AccentsCaseless", "été", false, false, false, "UN ÉTÉ CHAUD ", true},
                    SearchCase{"AccentsWholeWord", "café", false, true, false, "Un Café noir ", true},
                    SearchCase{"AccentsWholeWordNotInside", "caf", false, true, false, "café ", false},
                    SearchCase{"CyrillicCaseless", "глава", false, true, false, "ГЛАВА 1 ", true},
                    SearchCase{"AcrossWords", "Chapter 2", false, false, false, "Chapter 2 Summary ", true},
                    SearchCase{"EmptyOnlyPatternNeverMatches", "x*", true, false, false, "abc ", false},
                    SearchCase{"RegexAlternation", "^(Part|Chapter) [0-9]+", true, false, true, "Chapter 12 ", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchPatternEdgeTest, EmptyTextInvalidPatternsAndInvalidUtf8) {
    SearchPattern pattern;
    EXPECT_EQ(pattern.Find("anything"), MatchResult::NoMatch) << "not compiled";
    ASSERT_TRUE(pattern.Compile("a", true));
    EXPECT_EQ(pattern.Find(""), MatchResult::NoMatch);
    EXPECT_FALSE(pattern.Compile("(a", true));
    EXPECT_EQ(pattern.Text(), "a") << "a failed compile keeps the previous program";
    EXPECT_FALSE(ValidatePattern("(a"));
    EXPECT_TRUE(ValidatePattern("a{2}"));
    EXPECT_EQ(pattern.Find("\xff\xfe a"), MatchResult::Match) << "bytes that are not UTF-8 do not stop the search";
    EXPECT_EQ(EscapePlainText("a.b{1}]"), "a\\.b{1}]");
}

TEST(SearchPatternEdgeTest, LongPagesAreNoReasonToStop) {
    SearchPattern pattern;
    ASSERT_TRUE(pattern.Compile("(.|\\s)*ipsum", false));
    // Past PCRE2's default JIT stack, within the larger one, and past that.
    for (std::size_t words : {400, 40'000, 100'000}) {
        std::string page;
        for (std::size_t i = 0; i < words; ++i) page += "lorem ";
        EXPECT_EQ(pattern.Find(page + "ipsum "), MatchResult::Match) << page.size() << " characters";
    }
}

TEST(SearchPatternEdgeTest, InvalidPatternsSayWhyAndWhere) {
    TextQuery q;
    q.UseRegExp = true;
    q.Pattern = "Part (1";
    const std::optional<PatternError> error = QueryPatternError(q);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "missing closing parenthesis");
    EXPECT_EQ(error->offset, 7u);
    q.WholeWords = true;
    q.Pattern = "\\Qa";  // quotes the whole-word wrapping's closing parenthesis
    EXPECT_TRUE(QueryPatternError(q));
    q.UseRegExp = false;
    q.Pattern = "Part (1";
    EXPECT_FALSE(QueryPatternError(q));
}

TEST(SearchPatternEdgeTest, RunawayPatternsEndQuickly) {
    std::string prose;
    while (prose.size() < 20'000) prose += "lorem ipsum dolor ";
    // Nested repeats at one start; then patterns that scan to the end of the
    // page from every start, whose steps together are what runs away.
    const std::pair<const char*, std::string> rows[] = {
        {"(a+)+$", std::string(5000, 'a') + "!"}, {"(\\w|\\s)+final", prose}, {"(?:\\w+\\s)+final", prose + prose}};
    for (const auto& [text, page] : rows) {
        SearchPattern pattern;
        ASSERT_TRUE(pattern.Compile(text, false));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(pattern.Find(page), MatchResult::TooComplex) << text;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << text;
    }
}

TEST(SearchPatternEdgeTest, PatternsThatCannotBeMatchedSaySo) {
    SearchPattern pattern;
    ASSERT_TRUE(pattern.Compile("(?R)", false));
    EXPECT_EQ(pattern.Find("any text"), MatchResult::Failed);
    EXPECT_NE(pattern.FailureText().find("recursion"), std::string::npos) << pattern.FailureText();
}

}  // namespace
}  // namespace tessera
