#pragma once
// Cuts one planned output into parts that fit the size limit, each of as many
// pages as fit, found by making candidates and counting their bytes.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "engine/SizeEstimate.h"
#include "model/SplitSettings.h"

namespace tessera {

// Trials give every output a name no real one is longer than, each its own
// (object streams compress names alike to almost nothing), so that a link to
// another output's file is hardly ever shorter in a trial than on disk. Where
// it is, the host refuses to write the file over the limit, and the run stops.
std::string TrialName(std::size_t index);

// Every page the output puts in, in its order, each a range of its own that
// keeps its range's watermark and subtitle.
std::vector<PageRange> SinglePages(const OutputDocument& output, int available);
// Pages [from, from + count) as an output like `whole`, each run of
// consecutive pages alike in one range.
OutputDocument Slice(const OutputDocument& whole, const std::vector<PageRange>& pages, std::size_t from,
                     std::size_t count);

// One planned output being cut: the parts taken so far stand before it in
// the trial list, the pages not yet taken after it, so that links lead
// where they will.
class PartCutter {
public:
    // `at`: the output's place in the trial list; `pages`: its pages, one range each.
    PartCutter(SplitSettings& trial, const DocumentHandle& source, std::size_t at, std::vector<PageRange> pages,
               const std::vector<std::vector<host::ObjectBytes>>& objects);

    // The most pages from `from` on that fit, at least 1 (a page alone may
    // not fit: Fits says); none when a trial cannot be made.
    std::optional<std::size_t> Largest(std::size_t from);
    std::optional<bool> Fits(std::size_t from, std::size_t count);
    // Keeps what pages [from, from + count) measured (here or by another
    // cutter), and fits the estimate's weight of written-out objects, and the
    // bytes per estimated byte, to every part measured so far.
    void Note(std::size_t from, std::size_t count, std::uint64_t bytes);
    std::uint64_t Measured(std::size_t from, std::size_t count) const { return sizes_.at({from, count}); }
    // The bytes the estimate gives pages [from, from + count), before any is measured.
    double Estimated(std::size_t from, std::size_t count) { return estimate_.Of(from, count) * partBytesPerEstimated_; }
    // Takes pages [from, from + count) as a part: the next trial stands after it.
    void Take(std::size_t from, std::size_t count);
    std::size_t Pages() const { return pages_.size(); }
    const std::vector<PageRange>& PageList() const { return pages_; }

private:
    // Puts pages [from, from + count) at the trial list's place of the part,
    // and the pages after them, named apart from every other trial output,
    // after it; returns what stood there.
    OutputDocument Place(std::size_t from, std::size_t count);

    SplitSettings& trial_;
    const DocumentHandle& source_;
    std::size_t at_;
    std::vector<PageRange> pages_;
    std::map<std::pair<std::size_t, std::size_t>, std::uint64_t> sizes_;
    SizeEstimate estimate_;
    // Bytes written per byte estimated: what a page more added, as the last
    // two probes measured it, and what the last part took in all.
    double fileBytesPerEstimated_ = 1.0, partBytesPerEstimated_ = 1.0;
    // Sums over the parts measured, of streams' data D, written-out bytes W
    // and the bytes measured S: DD, DW, WW, DS, WS.
    double dd_ = 0, dw_ = 0, ww_ = 0, ds_ = 0, ws_ = 0;
};

}  // namespace tessera
