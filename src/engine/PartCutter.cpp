#include "engine/PartCutter.h"

#include <algorithm>
#include <cmath>

#include "engine/OutputProducer.h"
#include "engine/PageSelection.h"

namespace tessera {
namespace {

constexpr std::size_t kRestNames = 1000000;  // names of the pages a part leaves, apart from the outputs'

std::vector<int> SourcePages(const std::vector<PageRange>& pages) {
    std::vector<int> source;
    for (const PageRange& page : pages) source.push_back(page.StartPage);
    return source;
}

}  // namespace

std::string TrialName(std::size_t index) {
    std::string name;
    std::uint64_t state = 0x9E3779B97F4A7C15ull * (index + 1);
    while (name.size() < 240) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[state % 36];
    }
    return name + ".pdf";
}

std::vector<PageRange> SinglePages(const OutputDocument& output, int available) {
    std::vector<PageRange> pages;
    for (const PageRange& range : output.Ranges)
        for (const int page : ChosenPages(range, available)) {
            PageRange one = MakePlannedRange(page, 1, kAllPagesFlags);
            one.Watermark = range.Watermark;
            one.SubTitle = range.SubTitle;
            pages.push_back(std::move(one));
        }
    return pages;
}

OutputDocument Slice(const OutputDocument& whole, const std::vector<PageRange>& pages, std::size_t from,
                     std::size_t count) {
    OutputDocument part = whole;
    part.Ranges.clear();
    for (std::size_t i = from; i < from + count; ++i) {
        const PageRange& page = pages[i];
        PageRange* last = part.Ranges.empty() ? nullptr : &part.Ranges.back();
        if (last && last->StartPage + last->NumPages == page.StartPage && last->Watermark == page.Watermark &&
            last->SubTitle == page.SubTitle) {
            ++last->NumPages;
            ComputeActualPages(*last);
        } else {
            part.Ranges.push_back(page);
        }
    }
    return part;
}

PartCutter::PartCutter(SplitSettings& trial, const DocumentHandle& source, std::size_t at, std::vector<PageRange> pages,
                       const std::vector<std::vector<host::ObjectBytes>>& objects)
    : trial_(trial), source_(source), at_(at), pages_(std::move(pages)), estimate_(objects, SourcePages(pages_)) {}

OutputDocument PartCutter::Place(std::size_t from, std::size_t count) {
    OutputDocument whole = trial_.Outputs[at_];
    trial_.Outputs[at_] = Slice(whole, pages_, from, count);
    if (from + count < pages_.size()) {
        OutputDocument rest = Slice(whole, pages_, from + count, pages_.size() - from - count);
        rest.Filename = TrialName(kRestNames + at_ + 1);
        trial_.Outputs.insert(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(at_ + 1), std::move(rest));
    }
    return whole;
}

std::optional<bool> PartCutter::Fits(std::size_t from, std::size_t count) {
    const std::uint64_t limit = static_cast<std::uint64_t>(trial_.Output.MaxOutputBytes);
    if (const auto known = sizes_.find({from, count}); known != sizes_.end()) return known->second <= limit;
    OutputDocument whole = Place(from, count);
    const std::optional<std::uint64_t> bytes = MeasureOneOutput(source_, at_, trial_);
    if (from + count < pages_.size()) trial_.Outputs.erase(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(at_ + 1));
    trial_.Outputs[at_] = std::move(whole);
    if (!bytes) return std::nullopt;
    Note(from, count, *bytes);
    return *bytes <= limit;
}

void PartCutter::Note(std::size_t from, std::size_t count, std::uint64_t bytes) {
    sizes_[{from, count}] = bytes;
    const auto [d, w] = estimate_.Parts(from, count);
    const double s = static_cast<double>(bytes);
    dd_ += d * d, dw_ += d * w, ww_ += w * w, ds_ += d * s, ws_ += w * s;
    // Least squares of S = a D + b W, drawn a little towards a = b = 1 so
    // that parts alike in their mix (or the first one alone) stay solvable.
    const double ridge = 1e-3 * (dd_ + ww_);
    const double xx = dd_ + ridge, yy = ww_ + ridge, xs = ds_ + ridge, ys = ws_ + ridge;
    const double det = xx * yy - dw_ * dw_;
    if (det <= 0) return;
    const double a = (xs * yy - dw_ * ys) / det, b = (xx * ys - dw_ * xs) / det;
    if (a <= 0 || b <= 0) return;
    estimate_.SetWrittenWeight(b / a);
    partBytesPerEstimated_ = a;
}

std::optional<std::size_t> PartCutter::Largest(std::size_t from) {
    const double limit = trial_.Output.MaxOutputBytes;
    const std::size_t left = pages_.size() - from;
    // The answer k lies in (fits, fails]: `fits` pages were measured within
    // the limit (0: none yet), `fails` over it (left + 1: none yet). Written
    // bytes follow the estimate nearly in proportion: each probe is where
    // the line through the two sides meets the limit, or, with one side
    // known, where the ratio the last two probes measured leads. From the
    // third probe in a row on one side, each steps at least twice as far as
    // the one before, so that a poor estimate cannot slow the search to a
    // page at a time.
    std::size_t fits = 0, fails = left + 1, step = 1, previous = 0;
    std::size_t probe = estimate_.CountWithin(from, limit / partBytesPerEstimated_, 0, left + 1);
    bool lastFit = false;
    int repeats = 0;  // probes in a row on one side
    for (int probes = 0; fails - fits > 1; ++probes) {
        const std::optional<bool> ok = Fits(from, probe);
        if (!ok) return std::nullopt;
        repeats = probes > 0 && *ok == lastFit ? repeats + 1 : 0;
        step = repeats < 2 ? 1 : step * 2;
        lastFit = *ok;
        (*ok ? fits : fails) = probe;
        if (fails - fits <= 1) break;
        const auto at = [&](std::size_t k) { return std::pair(estimate_.Of(from, k), double(Measured(from, k))); };
        if (probes > 0) {
            const auto [x0, y0] = at(previous);
            const auto [x1, y1] = at(probe);
            if (x1 != x0 && (y1 - y0) / (x1 - x0) > 0) fileBytesPerEstimated_ = (y1 - y0) / (x1 - x0);
        }
        previous = probe;
        double target;  // the estimate the limit is reached at
        if (fits && fails <= left) {
            const auto [x0, y0] = at(fits);
            const auto [x1, y1] = at(fails);
            target = y1 > y0 ? x0 + (limit - y0) * (x1 - x0) / (y1 - y0) : (x0 + x1) / 2;
        } else {
            const auto [x, y] = at(probe);
            target = x + (limit - y) / fileBytesPerEstimated_;
        }
        probe = estimate_.CountWithin(from, target, fits, fails);
        probe = lastFit ? std::max(probe, fits + step) : std::min(probe, fails > step ? fails - step : 1);
        probe = std::clamp<std::size_t>(probe, fits + 1, fails - 1);
    }
    return std::max<std::size_t>(fits, 1);  // 1 when a page alone is over the limit
}

void PartCutter::Take(std::size_t from, std::size_t count) {
    Place(from, count);
    ++at_;
}

}  // namespace tessera
