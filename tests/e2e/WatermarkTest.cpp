// Watermarks from the command line, read back from the written files with qpdf.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

// The file in qpdf's QDF form: content streams unpacked as they were written,
// each after a "%% Contents for page N" line.
std::string Qdf(const std::string& file, const TempFolder& scratch) {
    const std::string qdf = scratch.Path() + "/qdf.pdf";
    RunCommand("qpdf --qdf --object-streams=disable --normalize-content=n " + ShellQuote(file) + " " + ShellQuote(qdf));
    std::ifstream in(qdf, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The content streams of page n that show the hex text, by their place on the page (1-based), as "1 3".
std::string StreamsShowing(const std::string& qdf, int page, const std::string& hex) {
    const std::string mark = "%% Contents for page " + std::to_string(page) + "\n";
    std::string places;
    int place = 0;
    for (std::size_t at = qdf.find(mark); at != std::string::npos; at = qdf.find(mark, at + 1)) {
        ++place;
        const std::size_t end = qdf.find("endstream", at);
        if (qdf.substr(at, end - at).find("<" + hex + "> Tj") != std::string::npos)
            places += (places.empty() ? "" : " ") + std::to_string(place);
    }
    return places;
}

TEST(WatermarkTest, EveryRangeGetsTheOptionsTextUnlessItsItemMarksItsOwn) {
    TempFolder config, out;
    const CommandResult r =
        Tessera(config, "split --reset --yes --quiet --prefix none -o " + ShellQuote(out.Path()) +
                            " --doc '1-2:mark/Zwei – A/' --doc 3 --watermark Drei --watermark-behind "
                            "--watermark-transparency 0 " + Data("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string first = Qdf(out.Path() + "/Doc1.pdf", out), second = Qdf(out.Path() + "/Doc2.pdf", out);
    const std::string zwei = "5a77656920962041", drei = "44726569";  // "Zwei – A" in WinAnsi, "Drei"
    EXPECT_EQ(StreamsShowing(first, 1, zwei), "1") << "behind: the first stream, before the page's own";
    EXPECT_EQ(StreamsShowing(first, 2, zwei), "1");
    EXPECT_EQ(StreamsShowing(second, 1, drei), "1");
    EXPECT_EQ(StreamsShowing(first, 1, drei), "");
    EXPECT_NE(first.find("/BaseFont /Times-Roman"), std::string::npos);
    for (const char* f : {"/Doc1.pdf", "/Doc2.pdf"}) EXPECT_TRUE(QpdfCheckPasses(out.Path() + f)) << f;
}

TEST(WatermarkTest, AnySplitMethodIsStampedOverThePageAndForeignCharactersAreRefused) {
    TempFolder config, out;
    const CommandResult r = Tessera(config, "split --reset --yes --quiet --prefix none --equal 2 -o " + ShellQuote(out.Path()) +
                                                " --watermark Copy " + Data("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string second = Qdf(out.Path() + "/Doc2.pdf", out);
    EXPECT_EQ(StreamsShowing(second, 1, "436f7079"), "3") << "over: after the page's own stream, last";
    const CommandResult refused =
        Tessera(config, "split --reset --yes --equal 2 --watermark 'Kopie ✓' " + Data("multicolumn-latex-2col.pdf") +
                            " 2>&1");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.output.find("\"✓\" cannot be drawn"), std::string::npos) << refused.output;
}

// How often each page of file shows the text.
std::vector<int> TimesShown(const std::string& file, const std::string& text) {
    std::vector<int> counts;
    for (const std::string& content : PageContents(file)) {
        const std::string shown = "(" + text + ") Tj";
        int n = 0;
        for (std::size_t t = content.find(shown); t != std::string::npos; t = content.find(shown, t + 1)) ++n;
        counts.push_back(n);
    }
    return counts;
}

TEST(WatermarkTest, ARepeatedPageShowsItsOwnRangesWatermarkOnly) {
    TempFolder config, out;
    const std::string doc = " --doc 'A=1-2:mark/FIRST/,1-2,1:mark/SECOND/' ";
    const CommandResult r = Tessera(config, "split --reset --yes --quiet --prefix none --base '' -o " +
                                                ShellQuote(out.Path()) + doc + Data("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string file = out.Path() + "/A.pdf";
    EXPECT_EQ(TimesShown(file, "FIRST"), (std::vector<int>{1, 1, 0, 0, 0}));
    EXPECT_EQ(TimesShown(file, "SECOND"), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_TRUE(QpdfCheckPasses(file));
}

}  // namespace
}  // namespace tessera
