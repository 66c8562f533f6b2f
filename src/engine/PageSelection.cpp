#include "engine/PageSelection.h"

#include <algorithm>
#include <cstdint>

namespace tessera {

std::vector<int> ChosenPages(const PageRange& range, int sourcePageCount) {
    std::vector<int> pages;
    const std::int64_t first = std::max<std::int64_t>(range.StartPage, 0);
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{range.StartPage} + range.NumPages, sourcePageCount);
    for (std::int64_t p = first; p < end; ++p) {
        const bool odd = (p + 1) % 2 == 1;
        if (range.Options.OddOnly() && !odd) continue;
        if (range.Options.EvenOnly() && odd) continue;
        pages.push_back(static_cast<int>(p));
    }
    if (range.Options.Has(PageRangeFlag::ReverseOrder)) std::reverse(pages.begin(), pages.end());
    return pages;
}

std::vector<int> OutputPages(const OutputDocument& output, int sourcePageCount) {
    std::vector<int> pages;
    for (const PageRange& range : output.Ranges) {
        const std::vector<int> chosen = ChosenPages(range, sourcePageCount);
        pages.insert(pages.end(), chosen.begin(), chosen.end());
    }
    return pages;
}

}  // namespace tessera
