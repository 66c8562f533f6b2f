#include "engine/SizeLimit.h"

#include <functional>
#include <set>
#include <sstream>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "engine/PartCutter.h"
#include "engine/WorkerCount.h"
#include "model/ByteSize.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

bool SayOversize(const SplitSettings& settings, const PageRange& page, std::uint64_t bytes) {
    const bool allowed = settings.Output.AllowOversize;
    Host().viewer->Alert(FormatText(LookupString(allowed ? "IDS_PAGE_OVER_SIZE_LIMIT_ALONE" : "IDS_PAGE_OVER_SIZE_LIMIT"),
                                    {std::int64_t{page.StartPage + 1}, ByteSizeText(static_cast<std::int64_t>(bytes)),
                                     ByteSizeText(settings.Output.MaxOutputBytes)}));
    return allowed;
}

// The starts of the parts from `from` on, ending with the first start at or
// past `stop`, or with one of `known`: starts found from a later page, which
// from there on are the same, since where a part ends depends only on where
// it starts. None when the run must stop.
std::optional<std::vector<std::size_t>> Starts(SplitSettings& trial, PartCutter& cutter, std::size_t from,
                                               std::size_t stop, const std::set<std::size_t>& known = {}) {
    std::vector<std::size_t> starts{from};
    while (from < stop && !known.contains(from)) {
        const std::optional<std::size_t> count = cutter.Largest(from);
        if (!count) return std::nullopt;
        if (!*cutter.Fits(from, *count) && !SayOversize(trial, cutter.PageList()[from], cutter.Measured(from, 1)))
            return std::nullopt;
        cutter.Take(from, *count);
        starts.push_back(from += *count);
    }
    return starts;
}

std::string StartsText(const std::optional<std::vector<std::size_t>>& starts) {
    if (!starts) return "!";
    std::string text;
    for (const std::size_t start : *starts) text += std::to_string(start) + " ";
    return text;
}

std::optional<std::vector<std::size_t>> StartsOf(const std::string& text) {
    if (text == "!") return std::nullopt;
    std::vector<std::size_t> starts;
    std::istringstream in(text);
    for (std::size_t start; in >> start;) starts.push_back(start);
    return starts;
}

// An output of many parts is cut from its first page and from its middle at
// once, in two workers; then from where the first half's parts pass the
// middle, here, until a start meets one the second half found. Each worker
// learns the estimate afresh and the joint is cut in order, which a few large
// parts do not repay. Where links lead to other outputs' files, a part's size
// depends on how the others are cut: those outputs are cut in order.
constexpr double kLeastPartsForHalves = 24;

std::optional<std::vector<std::size_t>> AllStarts(SplitSettings& trial, PartCutter& cutter) {
    const std::size_t pages = cutter.Pages();
    const bool linked = trial.Output.bUpdateLinks || trial.Output.bTransferBookmarks;
    const double parts = cutter.Estimated(0, pages) / trial.Output.MaxOutputBytes;
    if (linked || parts < kLeastPartsForHalves || WorkerCount(trial) < 2 || !Host().workers)
        return Starts(trial, cutter, 0, pages);
    std::optional<std::vector<std::size_t>> halves[2];
    Host().workers->RunTextTasks(
        2, 2, [&](std::size_t half) { return StartsText(Starts(trial, cutter, half * pages / 2, half ? pages : pages / 2)); },
        [&](std::size_t half, const std::string& text) { return halves[half] = StartsOf(text), true; });
    if (!halves[0] || !halves[1]) return std::nullopt;
    const std::set<std::size_t> known(halves[1]->begin(), halves[1]->end());
    const std::optional<std::vector<std::size_t>> joint = Starts(trial, cutter, halves[0]->back(), pages, known);
    if (!joint) return std::nullopt;
    std::vector<std::size_t> starts = *halves[0];
    starts.insert(starts.end(), joint->begin() + 1, joint->end());
    for (const std::size_t start : *halves[1])
        if (start > starts.back()) starts.push_back(start);
    return starts;
}

using PageObjects = std::vector<std::vector<host::ObjectBytes>>;

// Cuts trial output `at` into parts; the parts, or none when the run must
// stop. Most outputs of another method fit whole, and are measured so first,
// before the objects' bytes are asked for: a run whose outputs all fit never
// walks the pages for them.
std::optional<std::vector<OutputDocument>> Cut(SplitSettings& trial, const DocumentHandle& source, std::size_t at,
                                               const OutputDocument& planned, bool bySize,
                                               const std::function<const PageObjects&()>& objects) {
    std::vector<PageRange> pages = SinglePages(planned, source.PageCount());
    if (pages.empty()) return std::vector<OutputDocument>{planned};
    std::optional<std::uint64_t> whole;
    if (!bySize) {
        static const PageObjects none;
        PartCutter measure(trial, source, at, pages, none);
        const std::optional<bool> fits = measure.Fits(0, pages.size());
        if (!fits) return std::nullopt;
        if (*fits) return std::vector<OutputDocument>{planned};
        whole = measure.Measured(0, pages.size());
    }
    PartCutter cutter(trial, source, at, std::move(pages), objects());
    if (whole) cutter.Note(0, cutter.Pages(), *whole);
    const std::optional<std::vector<std::size_t>> starts = AllStarts(trial, cutter);
    if (!starts) return std::nullopt;
    std::vector<OutputDocument> parts;
    for (std::size_t i = 0; i + 1 < starts->size(); ++i)
        parts.push_back(Slice(planned, cutter.PageList(), (*starts)[i], (*starts)[i + 1] - (*starts)[i]));
    return parts;
}

}  // namespace

bool FitToSizeLimit(SplitSettings& settings, const DocumentHandle& source) {
    if (settings.Output.MaxOutputBytes <= 0 || settings.Outputs.empty()) return true;
    std::optional<PageObjects> objects;
    const auto pageObjects = [&]() -> const PageObjects& {
        // Without the objects' bytes, every page counts alike.
        if (!objects)
            objects = ReadOr(PageObjects(), "the estimate only guides where to measure",
                             [&] { return Host().documents->PageObjectBytes(source.Doc()); });
        return *objects;
    };
    SplitSettings trial = settings;
    for (std::size_t i = 0; i < trial.Outputs.size(); ++i) trial.Outputs[i].Filename = TrialName(i);
    OutputList fitted;
    const bool partsAreOutputs = settings.SplitMode == SplitMethod::BySize;
    for (const OutputDocument& planned : settings.Outputs) {
        OutputDocument named = planned;
        named.Filename = TrialName(fitted.size());
        std::optional<std::vector<OutputDocument>> parts =
            Cut(trial, source, fitted.size(), named, partsAreOutputs, pageObjects);
        if (!parts) return false;
        for (std::size_t i = 0; i < parts->size(); ++i) {
            OutputDocument part = std::move((*parts)[i]);
            part.Filename = planned.Filename;
            if (parts->size() > 1 && !partsAreOutputs)
                part.Part = static_cast<int>(i + 1), part.Parts = static_cast<int>(parts->size());
            fitted.push_back(std::move(part));
        }
    }
    settings.Outputs = std::move(fitted);
    return true;
}

}  // namespace tessera
