#pragma once
// Estimates of what runs of pages take written together: the bytes of the
// objects the pages reach as stored, an object several of them reach
// counting once. Streams' data is kept as it is stored, while the other
// objects are written out and may be packed and compressed, so those count
// at a weight that what was measured teaches. Only a guide where to
// measure; the sizes that count are measured.
#include <cstddef>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/DocumentServices.h"

namespace tessera {

class SizeEstimate {
public:
    // `objects` per source page (none: every page counts as one byte);
    // `pages` the source pages of the list, in its order.
    SizeEstimate(const std::vector<std::vector<host::ObjectBytes>>& objects, std::vector<int> pages)
        : objects_(objects), pages_(std::move(pages)) {}

    // The estimate of list pages [from, from + count).
    double Of(std::size_t from, std::size_t count);
    // Its two parts: streams' data, and the bytes of the objects written out.
    std::pair<double, double> Parts(std::size_t from, std::size_t count);
    void SetWrittenWeight(double weight) { writtenWeight_ = weight; }
    // The estimate of a part of these two parts.
    double Weighted(double data, double written) const { return data + writtenWeight_ * written; }
    // The most pages from `from` on, within (low, high), whose estimate is at
    // most `bytes`; low + 1 when even that is more.
    std::size_t CountWithin(std::size_t from, double bytes, std::size_t low, std::size_t high);

private:
    void Extend(std::size_t from, std::size_t count);

    const std::vector<std::vector<host::ObjectBytes>>& objects_;
    std::vector<int> pages_;
    std::size_t from_ = 0;
    // The two parts of the estimate of k pages from from_, at k.
    std::vector<std::pair<double, double>> prefix_{{0.0, 0.0}};
    double writtenWeight_ = 1.0;
    std::unordered_set<std::uint32_t> seen_;
};

}  // namespace tessera
