#pragma once
// Cuts one planned output into parts that fit the size limit, each of as many
// pages as fit, found by making candidates and counting their bytes.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "engine/SizeEstimate.h"
#include "host/WorkerServices.h"
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

// What the measured files kept for writing may take in all, in bytes: a
// part's file is kept, to be written as it is, while there is room.
struct KeepBudget {
    std::uint64_t left = 0;

    // Whether a file of up to `bytes` could be kept.
    bool Room(std::uint64_t bytes) const { return left >= bytes; }
    // `file`, kept and counted; null when there is no room for it.
    std::shared_ptr<const std::string> Hold(std::string file);
    // Lets a kept file go, giving back what it took unless another holds it.
    void Release(std::shared_ptr<const std::string>& file);
};

// One planned output being cut: the parts taken so far stand before it in
// the trial list, the pages not yet taken after it, so that links lead
// where they will.
class PartCutter {
public:
    // `at`: the output's place in the trial list; `pages`: its pages, one range each.
    // `budget`: where the files of parts that fit are kept (null: nowhere).
    PartCutter(SplitSettings& trial, const DocumentHandle& source, std::size_t at, std::vector<PageRange> pages,
               const std::vector<std::vector<host::ObjectBytes>>& objects, KeepBudget* budget = nullptr);
    // Gives back to the budget what no part took.
    ~PartCutter();
    PartCutter(const PartCutter&) = delete;
    PartCutter& operator=(const PartCutter&) = delete;

    // The most pages from `from` on that fit, at least 1 (a page alone may
    // not fit: Fits says); none when a trial cannot be made.
    std::optional<std::size_t> Largest(std::size_t from);
    std::optional<bool> Fits(std::size_t from, std::size_t count);
    // Measures in `helper` too, a process of its own whose copy of this
    // cutter answers with Answer; null measures here alone.
    void SetHelper(host::WorkerServices::Helper* helper) { helper_ = helper; }
    // In the helper: takes the parts the request says this one took, and
    // measures the pages it asks for. The bytes, and after a line end the
    // file when they fit and it was kept; empty when they cannot be measured
    // (the cutter that asked then measures them itself, showing why).
    std::string Answer(const std::string& request);
    // Keeps what pages [from, from + count) measured (here or by another
    // cutter), and fits the estimate's weight of written-out objects, and the
    // bytes per estimated byte, to every part measured so far.
    void Note(std::size_t from, std::size_t count, std::uint64_t bytes);
    // Keeps the file of pages [from, from + count), which fit, when it holds
    // more pages than the one kept from `from` and the budget has room.
    void Keep(std::size_t from, std::size_t count, std::string file);
    // The file kept of pages [from, from + count); null when none is.
    std::shared_ptr<const std::string> Kept(std::size_t from, std::size_t count) const;
    std::uint64_t Measured(std::size_t from, std::size_t count) const { return sizes_.at({from, count}); }
    // The bytes the estimate gives pages [from, from + count), before any is measured.
    double Estimated(std::size_t from, std::size_t count) { return estimate_.Of(from, count) * partBytesPerEstimated_; }
    // The start of the middle part, of parts cut by the estimate alone: where
    // two halves with as many parts as each other meet, between 1 and the
    // last page.
    std::size_t EstimatedMiddle();
    // Takes pages [from, from + count) as a part: the next trial stands after it.
    void Take(std::size_t from, std::size_t count);
    // Puts the trial list as taking the parts at `starts` in order would,
    // whatever parts were taken here: those found in other processes were
    // taken there.
    void TakeAll(const std::vector<std::size_t>& starts);
    // In a process of its own: keeps within a share of the budget, so that
    // `ways` processes keep no more than the budget together.
    void ShareBudget(unsigned ways) {
        if (budget_) budget_->left /= ways;
    }
    std::size_t Pages() const { return pages_.size(); }
    const std::vector<PageRange>& PageList() const { return pages_; }

private:
    // What Answer reads: the pages to measure, and every part taken so far.
    std::string HelperRequest(std::size_t from, std::size_t count) const;
    // Puts pages [from, from + count) at the trial list's place of the part,
    // and the pages after them, named apart from every other trial output,
    // after it; returns what stood there.
    OutputDocument Place(std::size_t from, std::size_t count);
    // Whether pages [from, from + count) fit, measuring [from, from + beside)
    // in the helper at the same time (beside 0: none).
    std::optional<bool> FitsBeside(std::size_t from, std::size_t count, std::size_t beside);
    // The second count to measure in a round with `probe`, within (fits,
    // fails), of the `left` pages from the part's start; 0 for none: the
    // next page, which most often settles the cut, or, before anything of
    // this output was measured, half as far again, to learn how bytes grow.
    std::size_t Beside(std::size_t probe, std::size_t fits, std::size_t fails, std::size_t left) const;
    // The estimate the first probe of a part aims at.
    double FirstAim(double limit) const;
    // Learns the bytes written per byte estimated from two measured counts.
    void LearnSlope(std::size_t from, std::size_t previous, std::size_t probe);
    // The estimate at which the limit is reached, by the line through the
    // two sides, or from the last probe along the slope learnt.
    double Target(std::size_t from, std::size_t fits, std::size_t fails, std::size_t probe);

    SplitSettings& trial_;
    const DocumentHandle& source_;
    const std::size_t firstAt_;
    // Where the part being cut stands in the trial list: after those taken.
    std::size_t At() const { return firstAt_ + taken_.size(); }
    const OutputDocument whole_;  // the output being cut, before any part was taken
    std::vector<PageRange> pages_;
    std::map<std::pair<std::size_t, std::size_t>, std::uint64_t> sizes_;
    std::vector<std::pair<std::size_t, std::size_t>> taken_;  // the parts taken, as from and count
    host::WorkerServices::Helper* helper_ = nullptr;
    KeepBudget* budget_;
    struct KeptFile {
        std::size_t count;
        std::shared_ptr<const std::string> file;
    };
    std::map<std::size_t, KeptFile> kept_;  // by the part's first page
    SizeEstimate estimate_;
    // Bytes written per byte estimated: what a page more added, as the last
    // two probes measured it, and what the last part took in all.
    double fileBytesPerEstimated_ = 1.0, partBytesPerEstimated_ = 1.0;
    // The streams' data, written-out bytes and the bytes measured of the
    // last part cut.
    struct PartEnd {
        double data, written, bytes;
    };
    std::optional<PartEnd> lastEnd_;
    // Sums over the parts measured, of streams' data D, written-out bytes W
    // and the bytes measured S: DD, DW, WW, DS, WS.
    double dd_ = 0, dw_ = 0, ww_ = 0, ds_ = 0, ws_ = 0;
};

}  // namespace tessera
