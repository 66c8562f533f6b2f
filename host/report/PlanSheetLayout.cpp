#include "report/PlanSheetLayout.h"

#include <algorithm>

namespace tessera::app {
namespace {

constexpr int kMargin = 10, kGap = 10, kTitleHeight = 30;
constexpr int kBandHeight = 18, kBandGap = 4, kCaptionHeight = 16;
constexpr int kTileWidth = kSheetPictureWidth + kGap;
constexpr int kRowHeight = kBandHeight + kBandGap + kSheetPictureHeight + kCaptionHeight + kGap;

class Flow {
public:
    explicit Flow(SheetLayout& layout) : layout_(layout) {}

    void Place(SheetTile tile) {
        const int column = static_cast<int>(layout_.tiles.size()) % kSheetColumns;
        const int row = static_cast<int>(layout_.tiles.size()) / kSheetColumns;
        const int x = kMargin + column * kTileWidth;
        const int top = layout_.firstRowTop + row * kRowHeight;
        tile.picture = {x, top + kBandHeight + kBandGap, kSheetPictureWidth, kSheetPictureHeight};
        if (tile.output >= 0) Band(tile.output, x, top);
        layout_.tiles.push_back(std::move(tile));
    }
    // The next tile starts a band of its own, even of the output before.
    void Unbanded() { lastWasBanded_ = false; }

private:
    // Widens the output's band in this row, or starts one.
    void Band(int output, int x, int top) {
        if (lastWasBanded_ && layout_.bands.back().output == output && layout_.bands.back().rect.y == top) {
            layout_.bands.back().rect.width = x + kSheetPictureWidth - layout_.bands.back().rect.x;
            return;
        }
        lastWasBanded_ = true;
        layout_.bands.push_back({output, {}, {x, top, kSheetPictureWidth, kBandHeight}});
    }

    SheetLayout& layout_;
    bool lastWasBanded_ = false;
};

std::string Caption(const host::PlanPlace& place) {
    std::string page = std::to_string(place.page);
    switch (place.kind) {
        case host::PlaceKind::InOutput:
            return page;
        case host::PlaceKind::EmptyOutput:
            return "no pages";
        case host::PlaceKind::InNoOutput:
            return page + " · in no output";
        case host::PlaceKind::Dropped:
            break;
    }
    const host::DroppedPageEntry& dropped = *place.dropped;
    return page + " · " + (dropped.kind.empty() ? dropped.reason : dropped.kind) +
           (dropped.value.empty() ? "" : " " + dropped.value);
}

}  // namespace

SheetLayout LayOutPlanSheet(const std::string& title, const std::vector<host::PlannedOutput>& outputs,
                            const host::PageAccount& account) {
    SheetLayout layout;
    layout.title = title;
    layout.titleRect = {kMargin, 0, kSheetColumns * kTileWidth - kGap, kTitleHeight};
    layout.rowHeight = kRowHeight;
    layout.firstRowTop = kTitleHeight;
    std::vector<std::vector<int>> outputPages;
    for (const host::PlannedOutput& output : outputs) outputPages.push_back(output.pages);
    Flow flow(layout);
    for (const host::PlanPlace& place : host::PlanPlaces(outputPages, account)) {
        if (place.output < 0) flow.Unbanded();
        flow.Place({place.page, place.output, place.kind, Caption(place), {}});
    }
    // Each output's name on its first band; "…" on the bands that go on from a row before.
    std::vector<bool> named(outputs.size(), false);
    for (SheetBand& band : layout.bands) {
        const std::string& file = outputs[static_cast<std::size_t>(band.output)].file;
        band.label = named[static_cast<std::size_t>(band.output)] ? "… " + file : file;
        named[static_cast<std::size_t>(band.output)] = true;
    }
    const int rows = (static_cast<int>(layout.tiles.size()) + kSheetColumns - 1) / kSheetColumns;
    layout.width = 2 * kMargin + kSheetColumns * kTileWidth - kGap;
    layout.height = kTitleHeight + std::max(rows, 1) * kRowHeight;
    return layout;
}

}  // namespace tessera::app
