#include "engine/SizeLimit.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "access/Host.h"
#include "engine/OutputProducer.h"
#include "engine/PageSelection.h"
#include "model/ByteSize.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

// Trials give every output a name no real one is longer than, each its own
// (object streams compress names alike to almost nothing), so that a link to
// another output's file is hardly ever shorter in a trial than on disk. Where
// it is, the host refuses to write the file over the limit, and the run stops.
constexpr std::size_t kRestNames = 1000000;  // names of the pages a part leaves, apart from the outputs'

std::string TrialName(std::size_t index) {
    std::string name;
    std::uint64_t state = 0x9E3779B97F4A7C15ull * (index + 1);
    while (name.size() < 240) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[state % 36];
    }
    return name + ".pdf";
}

// Every page the output puts in, in its order, each a range of its own that
// keeps its range's watermark and subtitle.
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

// Pages [from, from + count) as an output like `whole`, each run of
// consecutive pages alike in one range.
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

// One planned output being cut: the parts taken so far stand before it in
// the trial list, the pages not yet taken after it, so that links lead
// where they will.
class Cutter {
public:
    Cutter(SplitSettings& trial, const DocumentHandle& source, std::size_t at, std::vector<PageRange> pages)
        : trial_(trial), source_(source), at_(at), pages_(std::move(pages)) {}

    // The most pages from `from` on that fit, at least 1 (a page alone may
    // not fit: FitsAlone says); none when a trial cannot be made.
    std::optional<std::size_t> Largest(std::size_t from, std::size_t guess);
    std::optional<bool> Fits(std::size_t from, std::size_t count);
    std::uint64_t Measured(std::size_t from, std::size_t count) const { return sizes_.at({from, count}); }
    // Takes pages [from, from + count) as a part: the next trial stands after it.
    void Take(std::size_t from, std::size_t count);
    // The pages from `from` on, named apart from every other trial output.
    OutputDocument Rest(const OutputDocument& whole, std::size_t from) const {
        OutputDocument rest = Slice(whole, pages_, from, pages_.size() - from);
        rest.Filename = TrialName(kRestNames + at_ + 1);
        return rest;
    }
    std::size_t Pages() const { return pages_.size(); }
    const std::vector<PageRange>& PageList() const { return pages_; }

private:
    SplitSettings& trial_;
    const DocumentHandle& source_;
    std::size_t at_;
    std::vector<PageRange> pages_;
    std::map<std::pair<std::size_t, std::size_t>, std::uint64_t> sizes_;
    double pageBytes_ = 0;  // what a page added to a part, as last measured
};

std::optional<bool> Cutter::Fits(std::size_t from, std::size_t count) {
    const std::uint64_t limit = static_cast<std::uint64_t>(trial_.Output.MaxOutputBytes);
    if (const auto known = sizes_.find({from, count}); known != sizes_.end()) return known->second <= limit;
    const OutputDocument whole = trial_.Outputs[at_];
    trial_.Outputs[at_] = Slice(whole, pages_, from, count);
    if (from + count < pages_.size()) trial_.Outputs.insert(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(at_ + 1), Rest(whole, from + count));
    const std::optional<std::uint64_t> bytes = MeasureOneOutput(source_, at_, trial_);
    if (from + count < pages_.size()) trial_.Outputs.erase(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(at_ + 1));
    trial_.Outputs[at_] = whole;
    if (!bytes) return std::nullopt;
    sizes_[{from, count}] = *bytes;
    return *bytes <= limit;
}

std::optional<std::size_t> Cutter::Largest(std::size_t from, std::size_t guess) {
    const double limit = trial_.Output.MaxOutputBytes;
    const std::size_t left = pages_.size() - from;
    // The answer k lies in (fits, fails]: `fits` pages were measured within
    // the limit (0: none yet), `fails` over it (left + 1: none yet). Sizes
    // grow nearly in proportion to pages: each probe is where the line
    // the bytes a page added between the last two probes lead. From the third
    // probe in a row on one side, each steps at least twice as far as the one
    // before, so that pages of unusual sizes cannot slow the search to a page
    // at a time.
    std::size_t fits = 0, fails = left + 1, probe = std::clamp<std::size_t>(guess, 1, left), step = 1, previous = 0;
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
        const double atFits = fits ? static_cast<double>(Measured(from, fits)) : 0.0;
        const double atProbe = static_cast<double>(Measured(from, probe));
        if (probes > 0)  // the bytes a page added between the last two probes
            pageBytes_ = std::max(1.0, std::abs(atProbe - static_cast<double>(Measured(from, previous))) /
                                           std::abs(static_cast<double>(probe) - static_cast<double>(previous)));
        else if (pageBytes_ <= 0)
            pageBytes_ = atProbe / static_cast<double>(probe);
        previous = probe;
        const double next = fits ? static_cast<double>(fits) + (limit - atFits) / pageBytes_
                                 : static_cast<double>(fails) -
                                       (static_cast<double>(Measured(from, fails)) - limit) / pageBytes_;
        probe = static_cast<std::size_t>(std::max(1.0, next));
        probe = lastFit ? std::max(probe, fits + step) : std::min(probe, fails > step ? fails - step : 1);
        probe = std::clamp<std::size_t>(probe, fits + 1, fails - 1);
    }
    return std::max<std::size_t>(fits, 1);  // 1 when a page alone is over the limit
}

void Cutter::Take(std::size_t from, std::size_t count) {
    const OutputDocument whole = trial_.Outputs[at_];
    trial_.Outputs[at_] = Slice(whole, pages_, from, count);
    if (from + count < pages_.size()) trial_.Outputs.insert(trial_.Outputs.begin() + static_cast<std::ptrdiff_t>(at_ + 1), Rest(whole, from + count));
    ++at_;
}

bool SayOversize(const SplitSettings& settings, const PageRange& page, std::uint64_t bytes) {
    const bool allowed = settings.Output.AllowOversize;
    Host().viewer->Alert(FormatText(LookupString(allowed ? "IDS_PAGE_OVER_SIZE_LIMIT_ALONE" : "IDS_PAGE_OVER_SIZE_LIMIT"),
                                    {std::int64_t{page.StartPage + 1}, ByteSizeText(static_cast<std::int64_t>(bytes)),
                                     ByteSizeText(settings.Output.MaxOutputBytes)}));
    return allowed;
}

// Cuts trial output `at` into parts; the parts, or none when the run must
// stop. Most outputs of another method fit whole, and are measured so first;
// a split by size starts from a guess of a few pages.
constexpr std::size_t kFirstGuessPages = 16;

std::optional<std::vector<OutputDocument>> Cut(SplitSettings& trial, const DocumentHandle& source, std::size_t at,
                                               const OutputDocument& planned, bool bySize) {
    Cutter cutter(trial, source, at, SinglePages(planned, source.PageCount()));
    if (cutter.Pages() == 0) return std::vector<OutputDocument>{planned};
    std::size_t guess = kFirstGuessPages;
    if (!bySize) {
        const std::optional<bool> whole = cutter.Fits(0, cutter.Pages());
        if (!whole) return std::nullopt;
        if (*whole) return std::vector<OutputDocument>{planned};
        guess = cutter.Pages() - 1;
    }
    std::vector<OutputDocument> parts;
    for (std::size_t from = 0; from < cutter.Pages();) {
        const std::optional<std::size_t> count = cutter.Largest(from, guess);
        if (!count) return std::nullopt;
        if (!*cutter.Fits(from, *count) && !SayOversize(trial, cutter.PageList()[from], cutter.Measured(from, 1)))
            return std::nullopt;
        parts.push_back(Slice(planned, cutter.PageList(), from, *count));
        cutter.Take(from, *count);
        from += *count;
        guess = *count;
    }
    return parts;
}

}  // namespace

bool FitToSizeLimit(SplitSettings& settings, const DocumentHandle& source) {
    if (settings.Output.MaxOutputBytes <= 0 || settings.Outputs.empty()) return true;
    SplitSettings trial = settings;
    for (std::size_t i = 0; i < trial.Outputs.size(); ++i) trial.Outputs[i].Filename = TrialName(i);
    OutputList fitted;
    const bool partsAreOutputs = settings.SplitMode == SplitMethod::BySize;
    for (const OutputDocument& planned : settings.Outputs) {
        OutputDocument named = planned;
        named.Filename = TrialName(fitted.size());
        std::optional<std::vector<OutputDocument>> parts = Cut(trial, source, fitted.size(), named, partsAreOutputs);
        if (!parts) return false;
        for (std::size_t i = 0; i < parts->size(); ++i) {
            OutputDocument part = std::move((*parts)[i]);
            part.Filename = planned.Filename;
            if (parts->size() > 1 && !partsAreOutputs) part.Part = static_cast<int>(i + 1), part.Parts = static_cast<int>(parts->size());
            fitted.push_back(std::move(part));
        }
    }
    settings.Outputs = std::move(fitted);
    return true;
}

}  // namespace tessera
