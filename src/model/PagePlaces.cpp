#include "model/PagePlaces.h"

#include <algorithm>

namespace tessera {

PagePlaces::PagePlaces(const OutputList& outputs, std::int32_t pages)
    : outputs_(outputs), places_(static_cast<std::size_t>(std::max(pages, 0))) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::int64_t offset = 0;
        for (const PageRange& r : outputs[i].Ranges) {
            // The pages FindPagePosition finds in the range, each at the place it gives.
            const std::int64_t first = std::max(r.FirstPage, 0), last = std::min(r.LastPage, pages - 1);
            exact_ = exact_ && r.Step >= 0;
            if (r.Step > 0 && first <= last) {
                const bool reverse = r.Options.Has(PageRangeFlag::ReverseOrder);
                for (std::int64_t page = first; page <= last; ++page) {
                    const std::int64_t d = reverse ? std::int64_t{r.LastPage} - page : page - r.FirstPage;
                    PageLocation& place = places_[static_cast<std::size_t>(page)];
                    if (d % r.Step == 0 && !place.found)
                        place = {true, static_cast<std::int32_t>(offset + d / r.Step), static_cast<std::int32_t>(i)};
                }
            }
            offset += r.NumActualPages;
        }
    }
}

PageLocation PagePlaces::Find(std::int32_t page) const {
    if (exact_ && page >= 0 && static_cast<std::size_t>(page) < places_.size())
        return places_[static_cast<std::size_t>(page)];
    return FindOutputForPage(outputs_, page);
}

}  // namespace tessera
