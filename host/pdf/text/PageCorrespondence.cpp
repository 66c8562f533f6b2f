#include "pdf/text/PageCorrespondence.h"

#include <map>

namespace tessera::pdf {

std::optional<std::vector<int>> MatchPages(const std::vector<MupdfDocument::ObjectId>& wanted,
                                           const std::vector<MupdfDocument::ObjectId>& seen) {
    std::map<MupdfDocument::ObjectId, int> index;
    for (std::size_t i = 0; i < seen.size(); ++i) index.emplace(seen[i], static_cast<int>(i));
    std::vector<int> pages;
    pages.reserve(wanted.size());
    for (const MupdfDocument::ObjectId& page : wanted) {
        const auto it = index.find(page);
        if (it == index.end()) return std::nullopt;
        pages.push_back(it->second);
    }
    return pages;
}

}  // namespace tessera::pdf
