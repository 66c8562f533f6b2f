// Blank pages and blank scans on fixture pages read through the real host.
#include <gtest/gtest.h>

#include "analysis/BlankPage.h"
#include "analysis/SeparatorPages.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

constexpr double kDefaultThreshold = 40 * 0.0001;
const char* kText = "BT /F1 12 Tf 72 700 Td (x) Tj ET";

class BlankPageTest : public testing::Test {
protected:
    // Adds a page drawing content, with the 100x100 image /Im (deflated into
    // `stored` bytes, so its ratio is stored / 10,000) and a font.
    void Page(const std::string& content, std::size_t stored = 30) {
        QPDFObjectHandle resources = QPDFObjectHandle::parse("<< /Font << /F1 << /Type /Font /Subtype /Type1 "
                                                             "/BaseFont /Helvetica >> >> >>");
        resources.replaceKey("/XObject",
                             QPDFObjectHandle::newDictionary({{"/Im", pdf.GrayImage(100, 100, std::string(stored, 'x'), "/FlateDecode")}}));
        pdf.AddContentPage(content, resources);
    }
    host::DocId Open() {
        const std::string path = host.folder / "fixture.pdf";
        pdf.Write(path);
        return host.OpenActive(path);
    }
    bool Blank(host::DocId doc, int page) {
        PageContentHolder holder;
        EXPECT_TRUE(holder.Acquire(doc, page));
        return IsBlankPage(holder);
    }
    bool BlankScan(host::DocId doc, int page, double threshold = kDefaultThreshold) {
        PageContentHolder holder;
        EXPECT_TRUE(holder.Acquire(doc, page));
        return IsBlankImagePage(holder, threshold);
    }
    test::PdfFixture pdf{0};
    test::TestHost host;
};

TEST_F(BlankPageTest, OnlyPagesWithoutDrawnElementsAreBlank) {
    Page("");                                                   // 0: nothing
    Page("/A BMC /B << /C 1 >> BDC EMC EMC /D BMC EMC");        // 1: nested empty containers
    Page("q 0 0 100 100 re W n Q BT ET");                       // 2: a clip and an empty text object draw nothing
    Page("1 g 0 0 612 792 re f");                               // 3: a white rectangle is still drawn
    Page(std::string("/Span BMC ") + kText + " EMC");           // 4: text inside a container
    Page("/Sh sh");                                             // 5: a shading
    Page("/Im Do");                                             // 6: an image
    pdf.AddAnnotation(0, "Link", "URI");                        // annotations are not content
    pdf.Page(0).removeKey("/Contents");
    const host::DocId doc = Open();
    const bool expected[] = {true, true, true, false, false, false, false};
    for (int page = 0; page < 7; ++page) EXPECT_EQ(Blank(doc, page), expected[page]) << "page " << page;
    EXPECT_TRUE(BlankScan(doc, 0)) << "an empty page is also a blank scan";
    EXPECT_FALSE(BlankScan(doc, 1)) << "containers alone leave no image judged";
}

TEST_F(BlankPageTest, BlankScansAreImagesWhoseStreamIsTinyNextToTheirData) {
    Page("/Im Do");                                           // 0: ratio 0.003
    Page("/Im Do", 40);                                       // 1: ratio 0.004, the threshold itself
    Page(std::string("/Im Do ") + kText);                     // 2: text after the image
    Page(std::string(kText) + " /Im Do");                     // 3: text before the image
    Page(std::string("/P <</MCID 0>> BDC ") + kText + " EMC /Im Do");  // 4: text in a marked-content group
    Page("/Im Do q 1 0 0 1 0 0 cm BI /W 100 /H 100 /CS /G /BPC 8 ID\nxxx\nEI Q");  // 5: then an inline image
    Page("/Im Do /Im Do");                                    // 6: two blank images
    const host::DocId doc = Open();
    EXPECT_TRUE(BlankScan(doc, 0));
    EXPECT_FALSE(BlankScan(doc, 0, 20 * 0.0001)) << "a cleaner setting tolerates less";
    EXPECT_FALSE(BlankScan(doc, 1)) << "a ratio equal to the threshold is not blank";
    EXPECT_TRUE(BlankScan(doc, 1, 41 * 0.0001));
    EXPECT_FALSE(BlankScan(doc, 2));
    EXPECT_FALSE(BlankScan(doc, 3));
    EXPECT_FALSE(BlankScan(doc, 4)) << "text counts wherever it is shown";
    EXPECT_FALSE(BlankScan(doc, 5)) << "an inline image is never a blank scan";
    EXPECT_TRUE(BlankScan(doc, 6));
    EXPECT_FALSE(Blank(doc, 0));
}

TEST_F(BlankPageTest, DamagedContentIsNeitherBlankNorDroppedAndTheScanGoesOn) {
    Page(kText);
    Page("");
    pdf.AddContentPage("");  // its content stream claims a filter its bytes do not satisfy
    pdf.Page(2).getKey("/Contents").replaceStreamData("not deflated at all", QPDFObjectHandle::newName("/FlateDecode"),
                                                      QPDFObjectHandle::newNull());
    Page(kText);
    Page("");
    Page(kText);
    const host::DocId doc = Open();
    PageContentHolder holder;
    ASSERT_TRUE(holder.Acquire(doc, 2));
    EXPECT_FALSE(IsBlankPage(holder));
    EXPECT_FALSE(holder.Failure().empty());
    EXPECT_FALSE(IsBlankImagePage(holder, kDefaultThreshold));

    DocumentHandle document(doc, DocumentHandle::Ownership::Borrowed);
    std::vector<int> separators;
    ASSERT_TRUE(BuildMatchingPageList(document, separators, SeparatorKind::BlankPage, kDefaultThreshold, {}));
    EXPECT_EQ(separators, (std::vector<int>{1, 4}));
    EXPECT_EQ(host.viewer.alerts.size(), 1u) << "the user hears once that a page could not be read";
}

// A scanned batch: pages of text-like noise and sheets left blank, whose
// white with a few specks deflates to almost nothing.
TEST_F(BlankPageTest, ScannedBatchSplitsAtBlankSheetsOnly) {
    const int width = 400, height = 500;
    auto scan = [&](bool blank, unsigned seed) {
        std::string pixels(static_cast<std::size_t>(width * height), '\xff');
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            const bool ink = blank ? (seed >> 16) % 5000 == 0 : (i / width) % 20 < 8 && (seed >> 16) % 3 == 0;
            if (ink) pixels[i] = static_cast<char>((seed >> 8) % 96);
        }
        QPDFObjectHandle image = pdf.GrayImage(width, height, test::PdfFixture::Deflated(pixels), "/FlateDecode");
        pdf.AddContentPage("q 612 0 0 792 0 0 cm /Scan Do Q",
                           QPDFObjectHandle::newDictionary({{"/XObject", QPDFObjectHandle::newDictionary({{"/Scan", image}})}}));
    };
    const bool blank[] = {false, false, true, false, true, true, false, true};
    for (unsigned i = 0; i < 8; ++i) scan(blank[i], i + 1);
    DocumentHandle document(Open(), DocumentHandle::Ownership::Borrowed);
    OutputList outputs;
    ASSERT_TRUE(SplitAtSeparators(document, outputs, SeparatorKind::BlankImagePage, kDefaultThreshold, {}));
    ASSERT_EQ(outputs.size(), 3u) << "adjacent blanks cut once, a blank last page leaves no output";
    const int starts[] = {0, 3, 6}, counts[] = {2, 1, 1};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outputs[i].Ranges[0].StartPage, starts[i]);
        EXPECT_EQ(outputs[i].Ranges[0].NumPages, counts[i]);
    }

    outputs.clear();
    ASSERT_TRUE(SplitAtSeparators(document, outputs, SeparatorKind::BlankPage, kDefaultThreshold, {}));
    ASSERT_EQ(outputs.size(), 1u) << "a scan is never a blank page";
    EXPECT_EQ(outputs[0].Ranges[0].NumPages, 8);
}

}  // namespace
}  // namespace tessera
