#include "ui/HandCuts.h"

namespace tessera {
namespace {

struct HandOutput {
    std::vector<int> pages;  // 1-based, in output order
    std::string name;
};

std::vector<HandOutput> OutputsOf(const PlanPreview& plan) {
    std::vector<HandOutput> outputs;
    for (const PreviewOutput& output : plan.outputs) outputs.push_back({{}, output.handName});
    for (const PreviewPlace& shown : plan.places)
        if (shown.place.kind == host::PlaceKind::InOutput)
            outputs[static_cast<std::size_t>(shown.place.output)].pages.push_back(shown.place.page);
    return outputs;
}

// Runs of pages one apart, going up or down, as ranges.
std::vector<PageRange> RangesOf(const std::vector<int>& pages) {
    std::vector<PageRange> ranges;
    for (std::size_t first = 0; first < pages.size();) {
        std::size_t last = first;
        const int step = first + 1 < pages.size() && pages[first + 1] == pages[first] - 1 ? -1 : 1;
        while (last + 1 < pages.size() && pages[last + 1] == pages[last] + step) ++last;
        const int count = static_cast<int>(last - first) + 1;
        ranges.push_back(step > 0 ? MakePageRange(pages[first] - 1, count)
                                  : MakePageRange(pages[last] - 1, count, PageRangeFlag::ReverseOrder));
        first = last + 1;
    }
    return ranges;
}

OutputList ListOf(const std::vector<HandOutput>& outputs) {
    OutputList list;
    for (const HandOutput& output : outputs) list.push_back({RangesOf(output.pages), output.name});
    return list;
}

}  // namespace

OutputList HandMadeList(const PlanPreview& plan) { return ListOf(OutputsOf(plan)); }

std::optional<OutputList> ToggleCut(const PlanPreview& plan, std::size_t before) {
    if (before + 1 >= plan.places.size()) return std::nullopt;
    const host::PlanPlace& left = plan.places[before].place;
    const host::PlanPlace& right = plan.places[before + 1].place;
    if (left.kind != host::PlaceKind::InOutput || right.kind != host::PlaceKind::InOutput) return std::nullopt;
    std::vector<HandOutput> outputs = OutputsOf(plan);
    const auto at = outputs.begin() + left.output;
    if (left.output == right.output) {
        // The right page's place among its output's pages.
        std::size_t taken = 0;
        for (std::size_t i = 0; i <= before; ++i) taken += plan.places[i].place.output == left.output;
        HandOutput rest{std::vector<int>(at->pages.begin() + static_cast<std::ptrdiff_t>(taken), at->pages.end()), ""};
        at->pages.resize(taken);
        outputs.insert(at + 1, std::move(rest));
    } else if (right.output == left.output + 1) {
        at->pages.insert(at->pages.end(), (at + 1)->pages.begin(), (at + 1)->pages.end());
        outputs.erase(at + 1);
    } else {
        return std::nullopt;
    }
    return ListOf(outputs);
}

}  // namespace tessera
