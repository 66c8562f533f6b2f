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
    // The words text recognition (OCR) reads on the 0-based page drawn at
    // `dpi`, in `languages` ("eng+deu"), in reading order, each with its box
    // in the word finder's page space and its confidence. HostError when the
    // page cannot be drawn in full, or a language's data is not installed.
    virtual std::vector<PageWord> PageWordsByOcr(PixelReaderId reader, int page, const std::string& languages,
                                                 int dpi) = 0;
};

// The resolution pages are drawn at for text recognition unless asked
// otherwise: fine enough for 8-point print.
inline constexpr int kOcrDpi = 300;

}  // namespace tessera::host
