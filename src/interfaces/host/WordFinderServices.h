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
    double confidence = 100;  // 0 to 100: what text recognition thought of it; 100 from the text layer
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
};

}  // namespace tessera::host
