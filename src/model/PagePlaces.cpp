#include "model/PagePlaces.h"

#include <algorithm>

namespace tessera {

PagePlaces::PagePlaces(const OutputList& outputs, std::int32_t pages)
    : outputs_(outputs), places_(static_cast<std::size_t>(std::max(pages, 0))) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::int64_t offset = 0;
        for (const PageRange& r : outputs[i].Ranges) {
            exact_ = exact_ && r.Step >= 0;
            const std::int32_t first = std::max(r.FirstPage, 0), last = std::min(r.LastPage, pages - 1);
            for (std::int32_t page = first; r.Step > 0 && page <= last; ++page) {
                PageLocation& place = places_[static_cast<std::size_t>(page)];
                if (place.found) continue;
                if (const std::optional<std::int64_t> at = PlaceInRange(r, page))
                    place = {true, static_cast<std::int32_t>(offset + *at), static_cast<std::int32_t>(i)};
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
