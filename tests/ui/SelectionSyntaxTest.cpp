#include "ui/SelectionSyntax.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Each range as "start+count/options" or "q<target>:first[:last][!]".
std::string Describe(const std::vector<PageRange>& ranges) {
    std::string out;
    for (const PageRange& r : ranges) {
        if (!out.empty()) out += " ";
        if (r.Query.Enable && r.Query.Target == QueryTarget::QueryPageContent) {
            out += "c";
            for (host::PageElementKind kind : r.Query.PageContentQuery) out += ":" + std::to_string(static_cast<int>(kind));
        } else if (r.Query.Enable)
            out += "q" + std::to_string(static_cast<int>(r.Query.Target)) + ":" + r.Query.FirstPageQuery.Pattern +
                   (r.Query.Target == QueryTarget::QueryPageRanges ? ":" + r.Query.LastPageQuery.Pattern : "") +
                   (r.Query.ExcludeLastPage ? "!" : "");
        else
            out += std::to_string(r.StartPage) + "+" + std::to_string(r.NumPages) + "/" + std::to_string(r.Options);
    }
    return out;
}

struct SelectionCase {
    const char* text;
    const char* ranges;  // or the error's start
};

class SelectionSyntaxTest : public testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionSyntaxTest, Parses) {
    TextQuery flags;
    flags.WholeWords = true;
    const Parsed<std::vector<PageRange>> ranges = ParseSelection(GetParam().text, 12, flags);
    const std::string expected = GetParam().ranges;
    if (expected.rfind("error:", 0) == 0) {
        ASSERT_FALSE(ranges) << GetParam().text;
        EXPECT_NE(ranges.Failure().find(expected.substr(6)), std::string::npos) << ranges.Failure();
    } else {
        ASSERT_TRUE(ranges) << ranges.Failure();
        EXPECT_EQ(Describe(*ranges), expected);
        for (const PageRange& r : *ranges) {
            if (r.Query.Enable && r.Query.Target != QueryTarget::QueryPageContent) {
                EXPECT_TRUE(r.Query.FirstPageQuery.WholeWords) << "the options' flags apply";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionSyntaxTest,
    testing::Values(SelectionCase{"1-3,7", "0+3/0 6+1/0"}, SelectionCase{"z", "11+1/0"},
                    SelectionCase{"9-5", "4+5/4"}, SelectionCase{"z-1:odd", "0+12/5"},
                    SelectionCase{"r2-z:even", "10+2/2"}, SelectionCase{"/Chapter/", "q1:Chapter"},
                    SelectionCase{"/Chapter/1", "q0:Chapter"}, SelectionCase{"/a\\/b/", "q1:a/b"},
                    SelectionCase{"/Start/../End/", "q3:Start:End"}, SelectionCase{"/Start/..</End, too/", "q3:Start:End, too!"},
                    SelectionCase{"2,/x/,4", "1+1/0 q1:x 3+1/0"}, SelectionCase{"0", "error:at column 1: page 0 is not"},
                    SelectionCase{"1-13", "error:at column 3: page 13 is not in the document, which has 12"},
                    SelectionCase{"1-3,,4", "error:at column 5: expected a page number"},
                    SelectionCase{"1-99999999999", "error:at column 3: the page number is too large"},
                    SelectionCase{"1:all", "error:at column 3: expected odd or even"},
                    SelectionCase{"/open", "error:at column 1: the text has no closing"},
                    SelectionCase{"//", "error:the text between the slashes is empty"},
                    SelectionCase{"1 2", "error:at column 2: expected \",\""},
                    SelectionCase{"@image", "c:3"}, SelectionCase{"1,@uri+image+uri+annotation", "0+1/0 c:29:3:35"},
                    SelectionCase{"@external-link+link+form", "c:31:30:4"},
                    SelectionCase{"@images", "error:at column 2: \"images\" is not a kind"},
                    SelectionCase{"@", "error:at column 2: expected a kind"},
                    SelectionCase{"@image+", "error:at column 8: expected a kind"},
                    SelectionCase{"2:mark/Dr\\/aft/,1-3:odd:mark/€/", "1+1/8 0+3/9"},
                    SelectionCase{"1:mark/Draft →/", "error:at column 7: \"→\" cannot be drawn"}));

}  // namespace
}  // namespace tessera

namespace tessera {
namespace {

// Random selections made of the syntax's own characters: every one is either
// read or refused with a column inside the text, never a crash or a hang.
TEST(SelectionSyntaxRobustnessTest, RandomInputIsReadOrRefused) {
    const std::string alphabet = "0123456789-,:/.<zroddevn\\ 1@+imagelk";
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(next() % 16);
        for (int i = 0; i < length; ++i) text += alphabet[(next() >> 8) % alphabet.size()];
        const Parsed<std::vector<PageRange>> ranges = ParseSelection(text, 9, TextQuery{});
        if (ranges) {
            for (const PageRange& r : *ranges) {
                if (r.Query.Enable) continue;
                EXPECT_GE(r.StartPage, 0) << text;
                EXPECT_LE(r.StartPage + r.NumPages, 9) << text;
            }
        } else {
            EXPECT_NE(ranges.Failure().find("at column"), std::string::npos) << text << ": " << ranges.Failure();
        }
    }
}

}  // namespace
}  // namespace tessera
