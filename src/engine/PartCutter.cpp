#include "engine/PartCutter.h"

#include <algorithm>
#include <cmath>
#include <sstream>

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
                       const std::vector<std::vector<host::ObjectBytes>>& objects, KeepBudget* budget)
    : trial_(trial),
      source_(source),
      firstAt_(at),
      whole_(trial.Outputs.at(at)),
      pages_(std::move(pages)),
      budget_(budget),
      estimate_(objects, SourcePages(pages_)) {}

std::shared_ptr<const std::string> KeepBudget::Hold(std::string file) {
    if (!Room(file.size())) return nullptr;
    left -= file.size();
    return std::make_shared<const std::string>(std::move(file));
}

void KeepBudget::Release(std::shared_ptr<const std::string>& file) {
    if (file && file.use_count() == 1) left += file->size();
    file.reset();
}

PartCutter::~PartCutter() {
    for (auto& [from, kept] : kept_) budget_->Release(kept.file);
}

void PartCutter::Keep(std::size_t from, std::size_t count, std::string file) {
    if (!budget_) return;
    const auto known = kept_.find(from);
    if (known != kept_.end() && known->second.count >= count) return;
    // A file of fewer pages from the same start will not be written: it goes first.
    if (known != kept_.end()) budget_->Release(known->second.file);
    if (std::shared_ptr<const std::string> held = budget_->Hold(std::move(file)))
        kept_[from] = {count, std::move(held)};
}

std::shared_ptr<const std::string> PartCutter::Kept(std::size_t from, std::size_t count) const {
    const auto kept = kept_.find(from);
    return kept != kept_.end() && kept->second.count == count ? kept->second.file : nullptr;
}

OutputDocument PartCutter::Place(std::size_t from, std::size_t count) {
    OutputDocument whole = trial_.Outputs[At()];
    trial_.Outputs[At()] = Slice(whole, pages_, from, count);
    if (from + count < pages_.size()) {
        OutputDocument rest = Slice(whole, pages_, from + count, pages_.size() - from - count);
        rest.Filename = TrialName(kRestNames + At() + 1);
        trial_.Outputs.insert(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(At() + 1), std::move(rest));
    }
    return whole;
}

std::optional<bool> PartCutter::Fits(std::size_t from, std::size_t count) {
    const std::uint64_t limit = static_cast<std::uint64_t>(trial_.Output.MaxOutputBytes);
    if (const auto known = sizes_.find({from, count}); known != sizes_.end()) return known->second <= limit;
    OutputDocument whole = Place(from, count);
    std::string file;
    const bool keep = budget_ && budget_->Room(limit);
    const std::optional<std::uint64_t> bytes = MeasureOneOutput(source_, At(), trial_, keep ? &file : nullptr);
    if (from + count < pages_.size())
        trial_.Outputs.erase(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(At() + 1));
    trial_.Outputs[At()] = std::move(whole);
    if (!bytes) return std::nullopt;
    Note(from, count, *bytes);
    // A page larger than the limit may be written alone.
    if (keep && (*bytes <= limit || (count == 1 && trial_.Output.AllowOversize))) Keep(from, count, std::move(file));
    return *bytes <= limit;
}

std::size_t PartCutter::EstimatedMiddle() {
    const double limit = trial_.Output.MaxOutputBytes / partBytesPerEstimated_;
    std::vector<std::size_t> starts;
    for (std::size_t from = 0; from < pages_.size();) {
        starts.push_back(from);
        from += estimate_.CountWithin(from, limit, 0, pages_.size() - from + 1);
    }
    return std::clamp<std::size_t>(starts[starts.size() / 2], 1, pages_.size() - 1);
}

std::size_t PartCutter::Beside(std::size_t probe, std::size_t fits, std::size_t fails, std::size_t left) const {
    if (!helper_) return 0;
    // Every page left fitting ends the cut: there is no next page to try.
    if (probe == left) return 0;
    const std::size_t beside = sizes_.empty() ? probe + std::max<std::size_t>(1, probe / 2) : probe + 1;
    if (beside < fails) return beside;
    return probe - 1 > fits ? probe - 1 : 0;
}

std::optional<bool> PartCutter::FitsBeside(std::size_t from, std::size_t count, std::size_t beside) {
    bool asked = beside && !sizes_.contains({from, beside});
    if (asked && !helper_->Ask(HelperRequest(from, beside)))
        asked = false, helper_ = nullptr;  // gone: measured here from now on
    const std::optional<bool> fits = Fits(from, count);
    if (asked) {
        const std::optional<std::string> answer = helper_->Answer();
        if (!answer) helper_ = nullptr;
        if (answer && !answer->empty()) {
            // The count of bytes, and after a line end the file when it fit and was kept there.
            const std::size_t end = answer->find('\n');
            Note(from, beside, std::stoull(answer->substr(0, end)));
            if (end != std::string::npos) Keep(from, beside, answer->substr(end + 1));
        }
    }
    if (beside && !Fits(from, beside).has_value()) return std::nullopt;  // measured here when the helper could not
    return fits;
}

std::string PartCutter::HelperRequest(std::size_t from, std::size_t count) const {
    std::string request = std::to_string(from) + " " + std::to_string(count);
    for (const auto& [takenFrom, takenCount] : taken_)
        request += " " + std::to_string(takenFrom) + " " + std::to_string(takenCount);
    return request;
}

std::string PartCutter::Answer(const std::string& request) {
    std::istringstream in(request);
    std::size_t from = 0, count = 0;
    in >> from >> count;
    std::vector<std::pair<std::size_t, std::size_t>> taken;
    for (std::size_t takenFrom, takenCount; in >> takenFrom >> takenCount;) taken.emplace_back(takenFrom, takenCount);
    for (std::size_t i = taken_.size(); i < taken.size(); ++i) Take(taken[i].first, taken[i].second);
    if (!Fits(from, count).has_value()) return "";
    // The file goes to the cutter that asked, which keeps it or not: none stays here.
    std::string answer = std::to_string(Measured(from, count));
    if (const auto kept = kept_.find(from); kept != kept_.end() && kept->second.count == count) {
        answer += "\n" + *kept->second.file;
        budget_->Release(kept->second.file);
        kept_.erase(kept);
    }
    return answer;
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

double PartCutter::FirstAim(double limit) const {
    double aim = limit / partBytesPerEstimated_;
    // The parts before were measured at their ends: this one's first probe
    // is corrected as much as the last of them was off.
    if (lastEnd_) {
        const double estimated = partBytesPerEstimated_ * estimate_.Weighted(lastEnd_->data, lastEnd_->written);
        aim /= std::clamp(lastEnd_->bytes / estimated, 0.5, 2.0);
    }
    return aim;
}

void PartCutter::LearnSlope(std::size_t from, std::size_t previous, std::size_t probe) {
    const double x0 = estimate_.Of(from, previous), y0 = double(Measured(from, previous));
    const double x1 = estimate_.Of(from, probe), y1 = double(Measured(from, probe));
    // Over a page or two, the bytes a page adds are too uneven to lead: the
    // pages so far, taken together, lead instead.
    const std::size_t apart = std::max(previous, probe) - std::min(previous, probe);
    if (apart > 2 && x1 != x0 && (y1 - y0) / (x1 - x0) > 0)
        fileBytesPerEstimated_ = (y1 - y0) / (x1 - x0);
    else if (apart <= 2 && x1 > 0)
        fileBytesPerEstimated_ = y1 / x1;
}

double PartCutter::Target(std::size_t from, std::size_t fits, std::size_t fails, std::size_t probe) {
    const double limit = trial_.Output.MaxOutputBytes;
    const auto at = [&](std::size_t k) { return std::pair(estimate_.Of(from, k), double(Measured(from, k))); };
    if (fits && fails <= pages_.size() - from) {
        const auto [x0, y0] = at(fits);
        const auto [x1, y1] = at(fails);
        return y1 > y0 ? x0 + (limit - y0) * (x1 - x0) / (y1 - y0) : (x0 + x1) / 2;
    }
    const auto [x, y] = at(probe);
    return x + (limit - y) / fileBytesPerEstimated_;
}

std::optional<std::size_t> PartCutter::Largest(std::size_t from) {
    const double limit = trial_.Output.MaxOutputBytes;
    const std::size_t left = pages_.size() - from;
    // The answer k lies in (fits, fails]: `fits` pages were measured within
    // the limit (0: none yet), `fails` over it (left + 1: none yet). Written
    // bytes follow the estimate nearly in proportion: each probe is where
    // the line through the two sides meets the limit, or, with one side
    // known, where the ratio the last probes measured leads. From the third
    // round in a row on one side, each steps at least twice as far as the
    // one before, so that a poor estimate cannot slow the search to a page
    // at a time.
    std::size_t fits = 0, fails = left + 1, step = 1, previous = 0;
    fileBytesPerEstimated_ = partBytesPerEstimated_;
    std::size_t probe = estimate_.CountWithin(from, FirstAim(limit), 0, left + 1);
    bool lastFit = false;
    int repeats = 0;  // rounds in a row on one side
    for (int rounds = 0; fails - fits > 1; ++rounds) {
        const std::size_t beside = Beside(probe, fits, fails, left);
        const std::optional<bool> ok = FitsBeside(from, probe, beside);
        if (!ok) return std::nullopt;
        repeats = rounds > 0 && *ok == lastFit ? repeats + 1 : 0;
        step = repeats < 2 ? 1 : step * 2;
        lastFit = *ok;
        (*ok ? fits : fails) = probe;
        if (beside > fits && beside < fails) {
            lastFit = Measured(from, beside) <= limit;
            (lastFit ? fits : fails) = beside;
        }
        if (fails - fits <= 1) break;
        if (beside) previous = probe, probe = beside;
        if (rounds > 0 || beside) LearnSlope(from, previous, probe);
        previous = probe;
        probe = estimate_.CountWithin(from, Target(from, fits, fails, probe), fits, fails);
        probe = lastFit ? std::max(probe, fits + step) : std::min(probe, fails > step ? fails - step : 1);
        probe = std::clamp<std::size_t>(probe, fits + 1, fails - 1);
    }
    if (fits) {
        const auto [data, written] = estimate_.Parts(from, fits);
        lastEnd_ = PartEnd{data, written, double(Measured(from, fits))};
    }
    return std::max<std::size_t>(fits, 1);  // 1 when a page alone is over the limit
}

void PartCutter::TakeAll(const std::vector<std::size_t>& starts) {
    // Taken parts stand where they were taken, and the pages left after them.
    const bool restLeft = taken_.empty() || taken_.back().first + taken_.back().second < pages_.size();
    const std::size_t entries = taken_.size() + (restLeft ? 1 : 0);
    const auto first = trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(firstAt_);
    trial_.Outputs.erase(first, first + static_cast<std::ptrdiff_t>(entries));
    trial_.Outputs.insert(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(firstAt_), whole_);
    taken_.clear();
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) Take(starts[i], starts[i + 1] - starts[i]);
}

void PartCutter::Take(std::size_t from, std::size_t count) {
    Place(from, count);
    taken_.emplace_back(from, count);
}

}  // namespace tessera
