#pragma once
// Where a plan's pages stand when it is shown as pages (the settings window's
// plan and --plan-picture alike): in the order the outputs take them, each
// page no output takes placed before the first output that starts after it,
// so that a split in document order reads as the document does; an output
// without pages has a place of its own.
#include <climits>
#include <cstddef>
#include <map>
#include <vector>

#include "host/CommandLineServices.h"

namespace tessera::host {

enum class PlaceKind { InOutput, Dropped, InNoOutput, EmptyOutput };

struct PlanPlace {
    int page = 0;     // 1-based; 0 for an output without pages
    int output = -1;  // 0-based; -1 for none
    PlaceKind kind = PlaceKind::InOutput;
    const DroppedPageEntry* dropped = nullptr;  // into the account, for a dropped page
};

inline std::vector<PlanPlace> PlanPlaces(const std::vector<std::vector<int>>& outputPages, const PageAccount& account) {
    std::map<int, PlanPlace> outside;
    for (const DroppedPageEntry& entry : account.dropped)
        outside.emplace(entry.page, PlanPlace{entry.page, -1, PlaceKind::Dropped, &entry});
    for (int page : account.inNoOutput) outside.emplace(page, PlanPlace{page, -1, PlaceKind::InNoOutput, nullptr});
    std::vector<PlanPlace> places;
    const auto placeOutside = [&](int before) {
        while (!outside.empty() && outside.begin()->first < before) {
            places.push_back(outside.begin()->second);
            outside.erase(outside.begin());
        }
    };
    for (std::size_t i = 0; i < outputPages.size(); ++i) {
        const int output = static_cast<int>(i);
        if (outputPages[i].empty()) {
            places.push_back({0, output, PlaceKind::EmptyOutput, nullptr});
            continue;
        }
        placeOutside(outputPages[i].front());
        for (int page : outputPages[i]) places.push_back({page, output, PlaceKind::InOutput, nullptr});
    }
    placeOutside(INT_MAX);
    return places;
}

// The colour (0xRRGGBB) an output is shown in: hues far apart, dark enough
// for white names, so that neighbours never share one.
inline unsigned PlanOutputColour(int output) {
    static constexpr unsigned kColours[] = {0x1F77B4, 0xD95F02, 0x2CA02C, 0x7B3294,
                                            0x8C564B, 0xC2185B, 0x00838F, 0x6D6D00};
    return kColours[static_cast<std::size_t>(output) % (sizeof kColours / sizeof kColours[0])];
}

}  // namespace tessera::host
