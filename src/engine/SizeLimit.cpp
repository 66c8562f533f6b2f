#include "engine/SizeLimit.h"

#include "access/Host.h"
#include "access/ReadOr.h"
#include "engine/PartCutter.h"
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

// Cuts trial output `at` into parts; the parts, or none when the run must
// stop. Most outputs of another method fit whole, and are measured so first.
std::optional<std::vector<OutputDocument>> Cut(SplitSettings& trial, const DocumentHandle& source, std::size_t at,
                                               const OutputDocument& planned, bool bySize,
                                               const std::vector<std::vector<host::ObjectBytes>>& objects) {
    PartCutter cutter(trial, source, at, SinglePages(planned, source.PageCount()), objects);
    if (cutter.Pages() == 0) return std::vector<OutputDocument>{planned};
    if (!bySize) {
        const std::optional<bool> whole = cutter.Fits(0, cutter.Pages());
        if (!whole) return std::nullopt;
        if (*whole) return std::vector<OutputDocument>{planned};
    }
    std::vector<OutputDocument> parts;
    for (std::size_t from = 0; from < cutter.Pages();) {
        const std::optional<std::size_t> count = cutter.Largest(from);
        if (!count) return std::nullopt;
        if (!*cutter.Fits(from, *count) && !SayOversize(trial, cutter.PageList()[from], cutter.Measured(from, 1)))
            return std::nullopt;
        parts.push_back(Slice(planned, cutter.PageList(), from, *count));
        cutter.Take(from, *count);
        from += *count;
    }
    return parts;
}

}  // namespace

bool FitToSizeLimit(SplitSettings& settings, const DocumentHandle& source) {
    if (settings.Output.MaxOutputBytes <= 0 || settings.Outputs.empty()) return true;
    // Without the objects' bytes, every page counts alike.
    const std::vector<std::vector<host::ObjectBytes>> objects =
        ReadOr(std::vector<std::vector<host::ObjectBytes>>(), "the estimate only guides where to measure",
               [&] { return Host().documents->PageObjectBytes(source.Doc()); });
    SplitSettings trial = settings;
    for (std::size_t i = 0; i < trial.Outputs.size(); ++i) trial.Outputs[i].Filename = TrialName(i);
    OutputList fitted;
    const bool partsAreOutputs = settings.SplitMode == SplitMethod::BySize;
    for (const OutputDocument& planned : settings.Outputs) {
        OutputDocument named = planned;
        named.Filename = TrialName(fitted.size());
        std::optional<std::vector<OutputDocument>> parts =
            Cut(trial, source, fitted.size(), named, partsAreOutputs, objects);
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
