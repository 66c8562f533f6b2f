#include "engine/SizeLimit.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "access/SettingName.h"
#include "engine/OutputProducer.h"
#include "engine/PartCutter.h"
#include "engine/WorkerCount.h"
#include "model/ByteSize.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

// A page allowed over the limit is a note of the run; one not allowed
// stops it, naming the setting that would let it through.
bool SayOversize(SplitSettings& settings, const PageRange& page, std::uint64_t bytes) {
    const bool allowed = settings.Output.AllowOversize;
    const std::int64_t number = page.StartPage + 1;
    const std::string size = ByteSizeText(static_cast<std::int64_t>(bytes)),
                      limit = ByteSizeText(settings.Output.MaxOutputBytes);
    if (allowed)
        Host().viewer->AlertNote(FormatText(LookupString("IDS_PAGE_OVER_SIZE_LIMIT_ALONE"), {number, size, limit}));
    else
        Host().viewer->Alert(
            FormatText(LookupString("IDS_PAGE_OVER_SIZE_LIMIT"),
                       {number, size, limit, SettingName(*SettingsRowOf(settings, &settings.Output.AllowOversize))}));
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

// What a worker found: the starts on a line, then for each part its file's
// length on a line and the file (length 0: none was kept), for the parent to
// write as it is.
std::string StartsText(const std::optional<std::vector<std::size_t>>& starts, const PartCutter& cutter) {
    if (!starts) return "!";
    std::string text;
    for (const std::size_t start : *starts) text += std::to_string(start) + " ";
    text += "\n";
    for (std::size_t i = 0; i + 1 < starts->size(); ++i) {
        const std::shared_ptr<const std::string> kept = cutter.Kept((*starts)[i], (*starts)[i + 1] - (*starts)[i]);
        text += std::to_string(kept ? kept->size() : 0) + "\n" + (kept ? *kept : "");
    }
    return text;
}

std::optional<std::vector<std::size_t>> StartsOf(const std::string& text, PartCutter& cutter) {
    if (text == "!") return std::nullopt;
    const std::size_t line = std::min(text.find('\n'), text.size());
    std::vector<std::size_t> starts;
    std::istringstream in(text.substr(0, line));
    for (std::size_t start; in >> start;) starts.push_back(start);
    std::size_t at = line + 1;
    for (std::size_t i = 0; i + 1 < starts.size() && at < text.size(); ++i) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        const std::size_t length = std::stoull(text.substr(at, end - at));
        at = end + 1;
        if (length > text.size() - at) break;
        if (length) cutter.Keep(starts[i], starts[i + 1] - starts[i], text.substr(at, length));
        at += length;
    }
    return starts;
}

// An output of many parts is cut from its first page and from its middle at
// once, in two workers; then from where the first half's parts pass the
// middle, here, until a start meets one the second half found. Each worker
// learns the estimate afresh and the joint is cut in order, which a few large
// parts do not repay. Where links lead to other outputs' files, a part's size
// depends on how the others are cut: those outputs are cut in order.
constexpr double kLeastPartsForHalves = 24;

// Cuts in order, each round measuring two candidates at once: one here and
// one in a helper, a copy of this process told which parts were taken.
std::optional<std::vector<std::size_t>> StartsWithHelper(SplitSettings& trial, PartCutter& cutter, std::size_t pages) {
    const std::unique_ptr<host::WorkerServices::Helper> helper =
        Host().workers->StartHelper([&](const std::string& request) { return cutter.Answer(request); });
    cutter.SetHelper(helper.get());
    std::optional<std::vector<std::size_t>> starts = Starts(trial, cutter, 0, pages);
    cutter.SetHelper(nullptr);
    return starts;
}

std::optional<std::vector<std::size_t>> AllStarts(SplitSettings& trial, PartCutter& cutter) {
    const std::size_t pages = cutter.Pages();
    const bool linked = trial.Output.LinksOtherOutputs();
    const double parts = cutter.Estimated(0, pages) / trial.Output.MaxOutputBytes;
    if (WorkerCount(trial) < 2 || !Host().workers) return Starts(trial, cutter, 0, pages);
    if (linked || parts < kLeastPartsForHalves || pages < 2) return StartsWithHelper(trial, cutter, pages);
    const std::size_t middle = cutter.EstimatedMiddle();
    std::optional<std::vector<std::size_t>> halves[2];
    Host().workers->RunTextTasks(
        2, 2,
        [&](std::size_t half) {
            cutter.ShareBudget(2);
            return StartsText(Starts(trial, cutter, half ? middle : 0, half ? pages : middle), cutter);
        },
        [&](std::size_t half, const std::string& text) { return halves[half] = StartsOf(text, cutter), true; });
    if (!halves[0] || !halves[1]) return std::nullopt;
    const std::set<std::size_t> known(halves[1]->begin(), halves[1]->end());
    const std::optional<std::vector<std::size_t>> joint = Starts(trial, cutter, halves[0]->back(), pages, known);
    if (!joint) return std::nullopt;
    std::vector<std::size_t> starts = *halves[0];
    starts.insert(starts.end(), joint->begin() + 1, joint->end());
    for (const std::size_t start : *halves[1])
        if (start > starts.back()) starts.push_back(start);
    cutter.TakeAll(starts);  // the next output's trials stand after all of these parts
    return starts;
}

using PageObjects = std::vector<std::vector<host::ObjectBytes>>;

// The measured files kept to be written as they are: those of a limit up to
// 64 MiB, up to 512 MiB in all. Those past it are made again.
constexpr std::int32_t kLargestKept = 64 << 20;
constexpr std::uint64_t kKeptBytes = std::uint64_t{512} << 20;

// Cuts trial output `at` into parts; the parts, or none when the run must
// stop. Most outputs of another method fit whole, and are measured so first,
// before the objects' bytes are asked for: a run whose outputs all fit never
// walks the pages for them.
std::optional<std::vector<OutputDocument>> Cut(SplitSettings& trial, const DocumentHandle& source, std::size_t at,
                                               const OutputDocument& planned, bool bySize,
                                               const std::function<const PageObjects&()>& objects, KeepBudget* budget) {
    std::vector<PageRange> pages = SinglePages(planned, source.PageCount());
    if (pages.empty()) return std::vector<OutputDocument>{planned};
    std::optional<std::uint64_t> whole;
    if (!bySize) {
        // Measured as it stands, the form it is written in when it fits.
        std::string file;
        const std::uint64_t limit = static_cast<std::uint64_t>(trial.Output.MaxOutputBytes);
        const bool keep = budget && budget->Room(limit);
        whole = MeasureOneOutput(source, at, trial, keep ? &file : nullptr);
        if (!whole) return std::nullopt;
        if (*whole <= limit) {
            OutputDocument fits = planned;
            if (keep) fits.Measured = budget->Hold(std::move(file));
            return std::vector<OutputDocument>{fits};
        }
    }
    PartCutter cutter(trial, source, at, std::move(pages), objects(), budget);
    if (whole) cutter.Note(0, cutter.Pages(), *whole);
    const std::optional<std::vector<std::size_t>> starts = AllStarts(trial, cutter);
    if (!starts) return std::nullopt;
    std::vector<OutputDocument> parts;
    for (std::size_t i = 0; i + 1 < starts->size(); ++i) {
        const std::size_t from = (*starts)[i], count = (*starts)[i + 1] - from;
        parts.push_back(Slice(planned, cutter.PageList(), from, count));
        parts.back().Measured = cutter.Kept(from, count);
    }
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
    // A file made for a trial is the output itself unless links or bookmarks
    // lead to other outputs' files, whose names the trials do not have; a
    // dry run writes none.
    const OutputSettings& o = settings.Output;
    const bool dryRun = Host().commandLine && Host().commandLine->DryRun();
    KeepBudget budget{!dryRun && !o.LinksOtherOutputs() && o.MaxOutputBytes <= kLargestKept ? kKeptBytes : 0};
    SplitSettings trial = settings;
    for (std::size_t i = 0; i < trial.Outputs.size(); ++i) trial.Outputs[i].Filename = TrialName(i);
    OutputList fitted;
    const bool partsAreOutputs = settings.SplitMode == SplitMethod::BySize;
    for (const OutputDocument& planned : settings.Outputs) {
        OutputDocument named = planned;
        named.Filename = TrialName(fitted.size());
        std::optional<std::vector<OutputDocument>> parts =
            Cut(trial, source, fitted.size(), named, partsAreOutputs, pageObjects, &budget);
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
