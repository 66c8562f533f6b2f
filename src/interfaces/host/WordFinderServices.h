#pragma once
// The word finder ("PDModel" word calls): the words of a page, sorted by
// their position on the page.
//
// Coordinates: points, origin at the top left of the displayed page (the
// crop box, with the page's rotation applied), y growing downward. Search
// areas are given in the same space, so a word and an area compare directly
// on rotated pages and on pages whose boxes do not start at the origin.
#include <cstdint>
#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace tessera::host {

using WordFinderId = std::uint32_t;

struct WordBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct PageWord {
    std::string text;  // UTF-8
    std::vector<WordBox> quads;
};

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

class WordFinderServices {
public:
    virtual ~WordFinderServices() = default;
    // A word finder over the document, for any number of pages. It may read
    // pages ahead of the caller on `threads` threads in all, the caller's
    // counted (1: only when asked; 0: one per core), each reading a copy of
    // the document of its own.
    virtual WordFinderId CreateWordFinder(DocId doc, unsigned threads) = 0;
    virtual void DestroyWordFinder(WordFinderId finder) = 0;
    // The words of a 0-based page, top to bottom, left to right on each line.
    virtual std::vector<PageWord> PageWords(WordFinderId finder, int page) = 0;
    // The codes of the kinds (CodeKind bits) the 0-based page shows, up to a
    // bounded number, none where it shows none. A scanned page's image is
    // read as it is stored, any other page as it is drawn. HostError when the
    // page cannot be drawn in full, or its codes cannot be read.
    virtual PageCodeSet PageCodes(WordFinderId finder, int page, unsigned kinds) = 0;
    // The share (0 to 1) of the 0-based page's area, as drawn, whose colour
    // lies within `tolerance` (0 to 255, in each of red, green and blue) of
    // `rgb` (0xRRGGBB). HostError when the page cannot be drawn in full.
    virtual double PageColourShare(WordFinderId finder, int page, std::uint32_t rgb, int tolerance) = 0;
    // The 0-based page's colour as drawn (0xRRGGBB): the median of each of
    // red, green and blue over its area. HostError when it cannot be drawn in full.
    virtual std::uint32_t PageColour(WordFinderId finder, int page) = 0;
};

}  // namespace tessera::host
