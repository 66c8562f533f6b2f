#pragma once
// The pixels of pages as drawn: the codes a page shows, its colour, the share
// of a colour on it. A reader draws the pages of one document, each page as
// the page services count it, whatever the file's damage makes another reader see.
#include <cstdint>
#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "host/WordFinderServices.h"

namespace tessera::host {

using PixelReaderId = std::uint32_t;

// The kinds of code PageCodes looks for, as bits of one number.
enum CodeKind : unsigned {
    kQrCode = 1,
    kDataMatrix = 2,
    kCode128 = 4,
    kCode39 = 8,
    kEanUpc = 16,  // EAN-8, EAN-13, UPC-A, UPC-E
    kPdf417 = 32,
    kAztec = 64,
};
inline constexpr unsigned kEveryCode = 127;

// The codes a page shows, and how much else it shows: the share (0 to 1) of
// its area that is ink outside the codes and their quiet zones.
struct PageCodeSet {
    std::vector<std::string> codes;
    double inkOutside = 0;
};

// What text recognition reads of a page: in the languages ("eng+deu"), drawn
// at dpi (0: a scanned page's own resolution, 70 to 400 dpi, or kOcrDpi), the whole page or only what lies in an area
// of the word finder's page space and a margin around it.
struct OcrAsk {
    std::string languages;
    int dpi = 0;
    bool inArea = false;
    WordBox area;
};

// A page's picture: `width` × `height` pixels, three bytes (red, green,
// blue) each, row after row from the top.
struct PageImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

class PagePixelServices {
public:
    virtual ~PagePixelServices() = default;
    // A reader of the document's pages; HostError when the document has no
    // file to draw from (a new one).
    virtual PixelReaderId CreatePixelReader(DocId doc) = 0;
    virtual void DestroyPixelReader(PixelReaderId reader) = 0;
    // The codes of the kinds (CodeKind bits) the 0-based page shows, up to a
    // bounded number, none where it shows none. A scanned page's image is
    // read as it is stored, any other page as it is drawn. HostError when the
    // page cannot be drawn in full, or its codes cannot be read.
    virtual PageCodeSet PageCodes(PixelReaderId reader, int page, unsigned kinds) = 0;
    // The share (0 to 1) of the 0-based page's area, as drawn, whose colour
    // lies within `tolerance` (0 to 255, in each of red, green and blue) of
    // `rgb` (0xRRGGBB). HostError when the page cannot be drawn in full.
    virtual double PageColourShare(PixelReaderId reader, int page, std::uint32_t rgb, int tolerance) = 0;
    // The 0-based page's colour as drawn (0xRRGGBB): the median of each of
    // red, green and blue over its area. HostError when it cannot be drawn in full.
    virtual std::uint32_t PageColour(PixelReaderId reader, int page) = 0;
    // The words text recognition (OCR) reads on the 0-based page as `ask`
    // says, in reading order, each with its box in the word finder's page
    // space and its confidence; an area read may hold words reaching out of
    // it. A page is read at most once for the whole page per document and
    // asked languages and dpi, in each process. HostError when the page
    // cannot be drawn in full, or a language's data is not installed.
    virtual std::vector<PageWord> PageWordsByOcr(PixelReaderId reader, int page, const OcrAsk& ask) = 0;
    // The 0-based page drawn as large as fits in `width` × `height` pixels,
    // keeping its proportions, as a viewer shows it (rotation and crop box
    // applied). HostError when the page cannot be drawn in full.
    virtual PageImage PageThumbnail(PixelReaderId reader, int page, int width, int height) = 0;
    // The languages text recognition reads when asked for `asked`: those,
    // or for "" English and the user's language where their data is
    // installed. HostError naming the Debian package of a language asked
    // whose data is not installed, or when none is.
    virtual std::string OcrLanguages(const std::string& asked) = 0;
};

// The resolution pages are drawn at for text recognition unless asked
// otherwise: fine enough for 8-point print.
inline constexpr int kOcrDpi = 300;

}  // namespace tessera::host
