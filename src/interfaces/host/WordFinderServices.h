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

class WordFinderServices {
public:
    virtual ~WordFinderServices() = default;
    // A word finder over the document, for any number of pages.
    virtual WordFinderId CreateWordFinder(DocId doc) = 0;
    virtual void DestroyWordFinder(WordFinderId finder) = 0;
    // The words of a 0-based page, top to bottom, left to right on each line.
    virtual std::vector<PageWord> PageWords(WordFinderId finder, int page) = 0;
    // The text of a barcode or 2-D code (QR, Data Matrix, Code 128, Code 39,
    // EAN/UPC, PDF417, Aztec) the 0-based page shows as it is drawn: one text,
    // or none where it shows none. HostError when the page cannot be drawn.
    virtual std::vector<std::string> PageCodes(WordFinderId finder, int page) = 0;
    // The share (0 to 1) of the 0-based page's area, as drawn, whose colour
    // lies within `tolerance` (0 to 255, in each of red, green and blue) of
    // `rgb` (0xRRGGBB). HostError when the page cannot be drawn.
    virtual double PageColourShare(WordFinderId finder, int page, std::uint32_t rgb, int tolerance) = 0;
};

}  // namespace tessera::host
