#pragma once
// What is read from how a document's pages look: the codes a page shows, its
// colour, the share of a colour on it. The pages are drawn by MuPDF through
// a MupdfDocument the caller owns, whose pages it has matched with qpdf's.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "host/PagePixelServices.h"
#include "pdf/pixels/OcrEngine.h"
#include "pdf/text/MupdfDocument.h"

namespace tessera::pdf {

// What a reading needs drawn: codes, colours, text at `dpi`, whose pixels
// per point go to `scale`, or a picture that fits in `fit` pixels.
struct PixelRequest {
    enum class For { Codes, Colours, Text, Picture } purpose;
    float dpi = 0;
    float* scale = nullptr;
    float fitWidth = 0, fitHeight = 0;
    const fz_rect* clip = nullptr;  // text: only this part of the page (page space)
};

class PagePixels {
public:
    using ObjectId = MupdfDocument::ObjectId;
    explicit PagePixels(MupdfDocument& document) : document_(document) {}

    // Each reads MuPDF's page `index`, says in `page` which page object it
    // led to, and throws HostError naming shownPage when the page cannot be
    // drawn in full, as host/PagePixelServices.h says.
    host::PageCodeSet PageCodes(int index, int shownPage, ObjectId& page, unsigned kinds);
    std::uint32_t MedianColour(int index, int shownPage, ObjectId& page);
    double ColourShare(int index, int shownPage, ObjectId& page, std::uint32_t rgb, int tolerance);
    // The words `engine` reads on the page drawn in grey at `dpi` (0: a
    // scan's own resolution, within bounds, or host::kOcrDpi), their
    // boxes in page space (points from the top left of the shown page): of
    // the whole page, or of the area (in page space) and a margin around it.
    host::PageImage Picture(int index, int shownPage, ObjectId& page, int width, int height);
    std::vector<host::PageWord> OcrWords(int index, int shownPage, ObjectId& page, OcrEngine& engine, int dpi,
                                         const host::WordBox* area = nullptr);

private:
    struct PixmapDeleter {
        fz_context* context;
        void operator()(fz_pixmap* pixmap) const { fz_drop_pixmap(context, pixmap); }
    };
    using Pixmap = std::unique_ptr<fz_pixmap, PixmapDeleter>;
    // The pixels a reading is made from; a page that could not be drawn once
    // is refused again, with the same reason.
    Pixmap Draw(int index, int shownPage, ObjectId& page, const PixelRequest& request);

    MupdfDocument& document_;
    // Each page whose pixels failed, by index: the page object it led to, and why.
    std::map<int, std::pair<ObjectId, std::string>> undrawn_;
};

}  // namespace tessera::pdf
