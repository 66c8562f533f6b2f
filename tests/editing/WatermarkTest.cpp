// Watermarks as poppler renders them: where the red pixels fall, how red they
// are, and what the page's own drawing keeps.
#include <qpdf/QPDFPageObjectHelper.hh>

#include <cmath>

#include "access/Guarded.h"
#include "engine/RunSplit.h"
#include "support/Files.h"
#include "support/PdfFixture.h"
#include "support/PdfProbe.h"
#include "support/RunCommand.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

struct Pixel {
    int r, g, b;
};

// A page rendered by pdftoppm at 36 dpi (a point is half a pixel), its crop box, rotation applied.
struct Rendering {
    Rendering(const std::string& file, int page, const std::string& scratch) {
        const std::string p = std::to_string(page);
        const int status = test::RunCommand("pdftoppm -cropbox -r 36 -f " + p + " -l " + p + " -singlefile " +
                                            test::ShellQuote(file) + " " + test::ShellQuote(scratch))
                               .status;
        std::istringstream in(test::ReadFile(scratch + ".ppm"));
        std::string magic;
        int depth = 0;
        in >> magic >> width >> height >> depth;
        in.get();
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (status != 0 || magic != "P6" || bytes.size() != std::size_t(width) * height * 3) width = height = 0;
    }
    Pixel At(int x, int y) const {
        const unsigned char* p = &bytes[(std::size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    int width = 0, height = 0;
    std::vector<unsigned char> bytes;
};

bool Reddish(Pixel p) { return p.r > 150 && p.r - p.g > 60 && p.g == p.b; }

// The red pixels: how many, their centre, the slope of their main axis (degrees,
// y up), and their most common colour (that of glyph interiors).
struct RedInk {
    explicit RedInk(const Rendering& image) {
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        std::map<std::pair<int, int>, int> colours;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const Pixel p = image.At(x, y);
                if (!Reddish(p)) continue;
                ++count;
                const double u = x + 0.5, v = -(y + 0.5);  // pixel centres
                sx += u, sy += v, sxx += u * u, syy += v * v, sxy += u * v;
                ++colours[{p.r, p.g}];
            }
        if (count == 0) return;
        for (const auto& [colour, n] : colours)
            if (n > colours[{common.r, common.g}]) common = {colour.first, colour.second, colour.second};
        cx = sx / count;
        cy = -sy / count;
        const double vx = sxx / count - cx * cx, vy = syy / count - cy * cy, cov = sxy / count + cx * cy;
        slope = 0.5 * std::atan2(2 * cov, vx - vy) * 180 / std::numbers::pi;
    }
    int count = 0;
    double cx = 0, cy = 0, slope = 0;
    Pixel common{255, 255, 255};
};

std::size_t ContentStreams(const std::string& file, std::size_t page) {
    QPDF q;
    q.processFile(file.c_str());
    return QPDFPageObjectHelper(q.getAllPages().at(page)).getPageContents().size();
}

WatermarkStyle Style(int transparency, bool behind) { return {"DRAFT", transparency, 72, behind}; }

class WatermarkTest : public testing::Test {
protected:
    // Pages: 1 a white box over the middle, 2 a crop box away from the origin,
    // 3 turned by /Rotate 90, 4 a content that leaves a scaled matrix and a soft
    // mask set outside any save, and two saves open, having drawn a blue box
    // in the bottom left.
    void SetUp() override {
        test::PdfFixture pdf(0);
        pdf.AddContentPage("1 1 1 rg 246 336 120 120 re f");
        pdf.AddContentPage("0 0 1 rg 300 400 20 20 re f")
            .replaceKey("/CropBox", QPDFObjectHandle::parse("[300 400 600 780]"));
        pdf.AddContentPage("").replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
        QPDFObjectHandle black = QPDFObjectHandle::newStream(&pdf.Qpdf(), "0 g 0 0 612 792 re f");
        black.replaceDict(
            QPDFObjectHandle::parse("<< /Type /XObject /Subtype /Form /BBox [0 0 612 792] "
                                    "/Group << /S /Transparency /CS /DeviceRGB >> >>"));
        const std::string mask = "<< /ExtGState << /Gm << /Type /ExtGState /ca 0.3 /SMask << /S /Luminosity /G " +
                                 black.unparse() + " >> >> >> >>";
        pdf.AddContentPage("0 0 1 rg 0 0 100 100 re f 0.5 0 0 0.5 0 0 cm /Gm gs q 1 0 0 1 50 50 cm q",
                           QPDFObjectHandle::parse(&pdf.Qpdf(), mask));
        pdf.Write(source = host.folder / "four.pdf");
        host.OpenActive(source);
    }

    // One output of every page with the watermark, in a folder of that name; its
    // path. It passes qpdf's check unless the source is damaged.
    std::string Stamped(const std::string& name, const WatermarkStyle& style, bool damaged = false) {
        PageRange range = MakePageRange(0, 4);
        SetWatermark(range, style);
        SplitSettings s;
        s.SplitMode = SplitMethod::ManualRanges;
        s.Outputs = {OutputDocument{{range}, ""}};
        s.Filename.OutputFolder = host.folder / name, s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
        const DocumentHandle doc(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
        EXPECT_TRUE(Guarded([&] { return RunSplit(s, doc).Completed(); }));
        const std::string path = host.folder / (name + "/Doc1.pdf");
        EXPECT_TRUE(damaged || test::QpdfCheckPasses(path)) << name;
        return path;
    }
    Rendering Render(const std::string& file, int page) { return Rendering(file, page, host.folder / "render"); }
    void ExpectCentred(const std::string& file, int page, double slope = 45) {
        SCOPED_TRACE(file + " page " + std::to_string(page));
        const Rendering image = Render(file, page);
        const RedInk ink(image);
        ASSERT_GT(ink.count, 200);
        EXPECT_NEAR(ink.cx, image.width / 2.0, 6);
        EXPECT_NEAR(ink.cy, image.height / 2.0, 6);
        EXPECT_NEAR(ink.slope, slope, 5);
    }

    test::TestHost host;
    std::string source;
};

TEST_F(WatermarkTest, CentredOnTheCropBoxAtFortyFiveDegreesWhateverThePageLeftSetFadedOrHiddenAsAsked) {
    const std::string out = Stamped("opaque", Style(0, false));
    for (int page : {1, 2, 4}) ExpectCentred(out, page);
    ExpectCentred(out, 3, -45);  // /Rotate 90 turns the page-space diagonal the other way
    const Rendering unbalanced = Render(out, 4);
    EXPECT_LE(RedInk(unbalanced).common.g, 2) << "opaque: neither the page's soft mask nor its opacity reached it";
    const Pixel box = unbalanced.At(10, unbalanced.height - 10);
    EXPECT_TRUE(box.b == 255 && box.r == 0) << "the page's own blue box is drawn as before";
    EXPECT_EQ(host.runtime.Edits().HeldCount(), 0u) << "every font, setting and element made is released";

    const Rendering over = Render(out, 1);
    EXPECT_NEAR(RedInk(over).common.r, 230, 2);
    const RedInk half(Render(Stamped("t50", Style(50, false)), 1));
    EXPECT_NEAR(half.common.r, 242, 3);
    EXPECT_NEAR(half.common.g, 128, 3);
    const std::string invisible = Stamped("t100", Style(100, false));
    EXPECT_EQ(Render(invisible, 1).bytes, Render(source, 1).bytes);
    const std::string stored =
        test::RunCommand("qpdf --qdf --normalize-content=n " + test::ShellQuote(invisible) + " -").output;
    EXPECT_NE(stored.find("<4452414654> Tj"), std::string::npos) << "fully transparent, the text is still there";

    const Rendering behind = Render(Stamped("behind", Style(0, true)), 1);
    // The box covers 246..366 x 336..456 points: pixels 123..183 x 168..228 from the top.
    const auto redInBox = [](const Rendering& image) {
        int n = 0;
        for (int y = 170; y < 227; ++y)
            for (int x = 125; x < 182; ++x) n += Reddish(image.At(x, y));
        return n;
    };
    EXPECT_EQ(redInBox(behind), 0);
    EXPECT_GT(redInBox(over), 100);
    EXPECT_GT(RedInk(behind).count, 20) << "the ends of the text reach past the box";
    host.OpenActive("multicolumn-latex-2col.pdf");  // a real page of text
    ExpectCentred(Stamped("real", Style(0, false)), 1);
}

TEST_F(WatermarkTest, APageWhoseContentCannotBeReadIsStampedBehindItOrNamed) {
    const test::ScopedLanguageTable table({"IDS_WATERMARK_LEFT_OUT=left out of page %d: %s"});
    test::PdfFixture pdf(0);
    for (int page = 0; page < 4; ++page) pdf.AddContentPage("0 0 1 rg 0 0 100 100 re f");
    pdf.Page(1)
        .getKey("/Contents")
        .replaceStreamData("not deflated at all", QPDFObjectHandle::newName("/FlateDecode"),
                           QPDFObjectHandle::newNull());
    pdf.Write(source = host.folder / "damaged.pdf");
    host.OpenActive(source);
    for (const bool behind : {true, false}) {
        host.viewer.alerts.clear();
        const std::string out = Stamped(behind ? "behind" : "over", Style(0, behind), true);
        // Behind, nothing needs reading; over content whose saved states are unknown, nothing is drawn.
        EXPECT_EQ(ContentStreams(out, 1), behind ? 2u : 1u);
        EXPECT_EQ(ContentStreams(out, 2), behind ? 2u : 3u);
        EXPECT_EQ(host.viewer.alerts, behind ? std::vector<std::string>{}
                                             : std::vector<std::string>{"left out of page 2: errors while decoding "
                                                                        "content stream"});
    }
}

}  // namespace
}  // namespace tessera
