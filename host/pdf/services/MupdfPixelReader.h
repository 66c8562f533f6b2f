#pragma once
// The page-pixels service over MuPDF: each reader draws its document's pages
// through a MupdfPageReader of its own, so a code or a colour is never read
// from another page than the one asked for.
#include <map>
#include <memory>

#include "host/PagePixelServices.h"
#include "pdf/pixels/PagePixels.h"
#include "pdf/services/MupdfPageReader.h"
#include "pdf/services/OcrWordMemo.h"

namespace tessera::pdf {

class MupdfPixelReader : public host::PagePixelServices {
public:
    // Text is read by engines of `ocr`.
    MupdfPixelReader(DocumentStore& store, OcrLibrary& ocr) : store_(store), ocr_(ocr) {}

    host::PixelReaderId CreatePixelReader(host::DocId doc) override;
    void DestroyPixelReader(host::PixelReaderId reader) override;
    host::PageCodeSet PageCodes(host::PixelReaderId reader, int page, unsigned kinds) override;
    std::uint32_t PageColour(host::PixelReaderId reader, int page) override;
    double PageColourShare(host::PixelReaderId reader, int page, std::uint32_t rgb, int tolerance) override;
    host::PageImage PageThumbnail(host::PixelReaderId reader, int page, int width, int height) override;
    std::vector<host::PageWord> PageWordsByOcr(host::PixelReaderId reader, int page, const host::OcrAsk& ask) override;
    std::string OcrLanguages(const std::string& asked) override;

private:
    struct Reader {
        host::DocId doc = 0;
        std::unique_ptr<MupdfPageReader> pages;
        std::unique_ptr<PagePixels> pixels;  // over the document the pages are read from now
        bool drawnMatched = false;           // whether that document is the one read after a match
        std::unique_ptr<OcrEngine> ocr;      // started at the first page read, for its languages
    };
    Reader& Get(host::PixelReaderId reader);
    // What draw(pixels, MuPDF's index, loaded) gives for the page.
    template <class Draw>
    auto OnPage(host::PixelReaderId reader, int page, Draw draw);

    DocumentStore& store_;
    OcrLibrary& ocr_;
    host::PixelReaderId next_ = 1;
    std::map<host::PixelReaderId, Reader> readers_;
    OcrWordMemo ocrWords_;
};

}  // namespace tessera::pdf
