#include "engine/SizeEstimate.h"

#include <algorithm>

namespace tessera {

void SizeEstimate::Extend(std::size_t from, std::size_t count) {
    if (from != from_) from_ = from, prefix_.assign(1, {0.0, 0.0}), seen_.clear();
    while (prefix_.size() <= count && from + prefix_.size() - 1 < pages_.size()) {
        const int page = pages_[from + prefix_.size() - 1];
        auto [data, written] = prefix_.back();
        if (page >= 0 && static_cast<std::size_t>(page) < objects_.size()) {
            for (const host::ObjectBytes& object : objects_[static_cast<std::size_t>(page)])
                if (seen_.insert(object.object).second) data += object.data, written += object.bytes;
        }
        prefix_.push_back({data, std::max(written, prefix_.back().second + 1.0)});  // every page adds something
    }
}

std::pair<double, double> SizeEstimate::Parts(std::size_t from, std::size_t count) {
    Extend(from, count);
    return prefix_[std::min(count, prefix_.size() - 1)];
}

double SizeEstimate::Of(std::size_t from, std::size_t count) {
    const auto [data, written] = Parts(from, count);
    return Weighted(data, written);
}

std::size_t SizeEstimate::CountWithin(std::size_t from, double bytes, std::size_t low, std::size_t high) {
    std::size_t lo = low + 1, hi = high - 1;  // the answer lies in [lo, hi]
    if (lo >= hi || Of(from, lo) > bytes) return lo;
    while (lo < hi) {
        const std::size_t middle = lo + (hi - lo + 1) / 2;
        if (Of(from, middle) <= bytes)
            lo = middle;
        else
            hi = middle - 1;
    }
    return lo;
}

}  // namespace tessera
