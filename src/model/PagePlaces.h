#pragma once
// Where each source page went among a run's outputs, read off once: links
// and bookmarks ask it of every target, thousands of times an output, and
// searching the output list for each took longer than writing the outputs.
#include <cstdint>
#include <vector>

#include "model/OutputDocument.h"

namespace tessera {

class PagePlaces {
public:
    // For source pages [0, pages) of `outputs`.
    PagePlaces(const OutputList& outputs, std::int32_t pages);
    // As FindOutputForPage gives it: the first output that takes the page.
    PageLocation Find(std::int32_t page) const;

private:
    const OutputList& outputs_;
    std::vector<PageLocation> places_;
    bool exact_ = true;  // false: a range steps backwards, and the list is searched
};

}  // namespace tessera
