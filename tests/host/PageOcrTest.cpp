// Text read from pages' pixels: words where the page shows them, in the
// space the text layer's words are in, turned pages included, and a clear
// refusal where a language's data is not installed; an area read alone.
#include <cmath>
#include <map>
#include <string>

#include "host/HostError.h"
#include "pdf/services/MupdfPixelReader.h"
#include "pdf/services/MupdfWordFinder.h"
#include "pdf/store/DocumentStore.h"
#include "runtime/OcrModule.h"
#include "support/Files.h"

namespace tessera {
namespace {

// Whether two boxes of one word agree: the ink read lies inside the text
// layer's box (the font's height, taller than the ink, give or take a rule
// beneath), their middles within 3 points.
bool Near(const host::WordBox& read, const host::WordBox& layer) {
    const auto middle = [](double a, double b) { return (a + b) / 2; };
    return read.minX >= layer.minX - 2 && read.maxX <= layer.maxX + 2 && read.minY >= layer.minY - 2 &&
           read.maxY <= layer.maxY + 2 &&
           std::abs(middle(read.minX, read.maxX) - middle(layer.minX, layer.maxX)) <= 3 &&
           std::abs(middle(read.minY, read.maxY) - middle(layer.minY, layer.maxY)) <= 3;
}

TEST(PageOcrTest, WordsReadFromPixelsOfATurnedPageLieWhereTheTextLayerHasThem) {
    pdf::DocumentStore store;
    const host::DocId doc = store.Open(test::DataFile("mnras-guide-2col-rotated-page.pdf"));
    pdf::MupdfWordFinder finder(store);
    app::OcrModule ocr;
    pdf::MupdfPixelReader pixels(store, ocr);
    const host::WordFinderId words = finder.CreateWordFinder(doc, 1);
    const host::PixelReaderId reader = pixels.CreatePixelReader(doc);
    // The 6th page is turned a quarter, showing a table upright: a word read
    // from its pixels lies where the text layer has the same word.
    const int page = 5;
    std::multimap<std::string, host::WordBox> layer;
    for (const host::PageWord& word : finder.PageWords(words, page))
        if (word.text.size() >= 4 && !word.quads.empty()) layer.emplace(word.text, word.quads.front());
    int matched = 0, placed = 0;
    for (const host::PageWord& word : pixels.PageWordsByOcr(reader, page, {"eng", 0, false, {}})) {
        const auto [first, last] = layer.equal_range(word.text);
        if (first == last) continue;
        ++matched;
        bool over = false;
        for (auto it = first; it != last; ++it) over |= Near(word.quads.front(), it->second);
        placed += over;
        EXPECT_GE(word.confidence, 0);
        EXPECT_LE(word.confidence, 100);
    }
    EXPECT_GE(matched, 50) << "words read alike by both";
    EXPECT_EQ(placed, matched) << "every word read alike lies where the text layer has it";
}

TEST(PageOcrTest, AScannedInvoiceIsReadAndAMissingLanguageNamesItsPackage) {
    pdf::DocumentStore store;
    const host::DocId doc = store.Open(test::DataFile("scanned-invoices-payment-qr.pdf"));
    pdf::MupdfWordFinder finder(store);
    app::OcrModule ocr;
    pdf::MupdfPixelReader pixels(store, ocr);
    const host::PixelReaderId reader = pixels.CreatePixelReader(doc);
    EXPECT_TRUE(finder.PageWords(finder.CreateWordFinder(doc, 1), 1).empty()) << "a picture only";
    std::string text;
    double invoiceTop = -1;
    for (const host::PageWord& word : pixels.PageWordsByOcr(reader, 1, {"eng", 0, false, {}})) {
        text += word.text + " ";
        if (word.text == "1001" && invoiceTop < 0) invoiceTop = word.quads.front().minY;
    }
    // A 100-dpi scan: its small print is read in part, its number line whole.
    EXPECT_NE(text.find("No. 1001 Date 2024-03-04"), std::string::npos) << text;
    EXPECT_GT(invoiceTop, 0);
    EXPECT_LT(invoiceTop, 842 / 3.0) << "the heading is at the top of the A4 page";
    // An area is read alone: its words, and none beyond its margin. Asked at
    // the scan's own 100 dpi by number, it is not the page's read kept above.
    const host::WordBox line{0, invoiceTop, 300, invoiceTop + 8};
    std::string inArea;
    for (const host::PageWord& word : pixels.PageWordsByOcr(reader, 1, {"eng", 100, true, line})) {
        inArea += word.text + " ";
        EXPECT_GT(word.quads.front().maxY, line.minY - 20) << word.text;
        EXPECT_LT(word.quads.front().minY, line.maxY + 20) << word.text;
    }
    EXPECT_NE(inArea.find("1001"), std::string::npos) << inArea;
    try {
        pixels.PageWordsByOcr(reader, 1, {"eng+xyz", 0, false, {}});
        ADD_FAILURE() << "a language without data was read";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("tesseract-ocr-xyz"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tessera
