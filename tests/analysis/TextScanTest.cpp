// Separator pages, query ranges and page text on fixtures read through the real host.
#include <gtest/gtest.h>

#include "analysis/PageTextExtractor.h"
#include "analysis/QueryResolution.h"
#include "analysis/SeparatorPages.h"
#include "engine/OutputNaming.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

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
    static PageRange Query(int target, const std::string& first, const std::string& last = "", bool exclude = false) {
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
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, PageMatchingText, 0.004, Text("chapter")));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"1-2", "3-3", "4-6"}));
    EXPECT_EQ(outputs[0].Ranges[0].Options, OddPages | EvenPages);

    outputs.clear();
    ASSERT_TRUE(SplitAtSeparators(doc, outputs, PageMatchingText, 0.004, Text("appendix")));
    EXPECT_EQ(Spans(outputs), (std::vector<std::string>{"1-6"})) << "no match: one output of every page";

    TextQuery broken = Text("(");
    broken.UseRegExp = true;
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, PageMatchingText, 0.004, broken));
    EXPECT_FALSE(SplitAtSeparators(doc, outputs, 7, 0.004, Text("x")));
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
    const auto fixed = [](double points) { return static_cast<std::int32_t>(points * 65536); };
    ASSERT_TRUE(extractor.Extract(0, {fixed(0), fixed(0), fixed(612), fixed(100)}, true));
    EXPECT_EQ(extractor.Text(), "Header words ");
    ASSERT_TRUE(extractor.Extract(0, {fixed(0), fixed(140), fixed(100), fixed(792)}, true));
    EXPECT_EQ(extractor.Text(), "Body ") << "a word across the area's edge counts";
    ASSERT_TRUE(extractor.Extract(0, {fixed(300), fixed(300), fixed(400), fixed(400)}, true));
    EXPECT_EQ(extractor.Text(), "");
    std::string text;
    PageTextExtractor forNames;
    EXPECT_TRUE(GetPageTextInArea(forNames, doc, 0, {fixed(0), fixed(0), fixed(612), fixed(100)}, text));
    EXPECT_EQ(text, "Header words ");
    EXPECT_FALSE(GetPageTextInArea(forNames, doc, 1, {}, text));
}

TEST_F(TextScanTest, NamesFromTheTextOfAnArea) {
    DocumentHandle& doc = Open({"Invoice 17\n\n\n\n\nfooter", "page two", "\n\n\n\n\nonly low text", "Invoice 17"});
    SplitSettings s;
    s.Filename.FileNameAutoPrefix = PrefixNone;
    s.Filename.OutputBaseFilename = "";
    s.Filename.FileNameCosntructionMode = AddTextFromPage;
    s.Filename.TextAreaRight = 612 * 65536;
    s.Filename.TextAreaBottom = 100 * 65536;
    for (int page : {0, 1, 2, 3}) s.Outputs.push_back(OutputDocument{{MakePageRange(page, 1, 0)}, ""});
    std::tm today{};
    const auto entries = NameOutputs(s, doc, today);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.file);
    EXPECT_EQ(names, (std::vector<std::string>{"INVOICE 17.pdf", "PAGE TWO.pdf", "3.pdf", "INVOICE 17_1.pdf"}))
        << "the area's words, or the output's number when it has none, made unique";
}

TEST(TouchesTest, EdgesCount) {
    const host::WordBox box{10, 10, 20, 20};
    const auto area = [](double l, double t, double r, double b) {
        return TextArea{static_cast<std::int32_t>(l * 65536), static_cast<std::int32_t>(t * 65536),
                        static_cast<std::int32_t>(r * 65536), static_cast<std::int32_t>(b * 65536)};
    };
    EXPECT_TRUE(Touches(box, area(20, 20, 30, 30))) << "corner to corner";
    EXPECT_TRUE(Touches(box, area(0, 0, 10, 10)));
    EXPECT_TRUE(Touches(box, area(15, 0, 16, 100)));
    EXPECT_FALSE(Touches(box, area(20.01, 0, 30, 30)));
    EXPECT_FALSE(Touches(box, area(0, 0, 100, 9.99)));
}

}  // namespace
}  // namespace tessera
