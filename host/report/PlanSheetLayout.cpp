#include "report/PlanSheetLayout.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace tessera::app {
namespace {

constexpr int kMargin = 10, kGap = 10, kTitleHeight = 30;
constexpr int kBandHeight = 18, kBandGap = 4, kCaptionHeight = 16;
constexpr int kTileWidth = kSheetPictureWidth + kGap;
constexpr int kRowHeight = kBandHeight + kBandGap + kSheetPictureHeight + kCaptionHeight + kGap;

struct Pending {
    int page;
    SheetTileState state;
    std::string caption;
};

// The pages no output takes, by page: each is placed before the first
// output that starts after it, so that a split in document order reads as
// the document does.
std::map<int, Pending> PagesOutsideOutputs(const host::PageAccount& account) {
    std::map<int, Pending> pending;
    for (const host::DroppedPageEntry& dropped : account.dropped)
        pending.emplace(dropped.page, Pending{dropped.page, SheetTileState::Dropped,
                                              (dropped.kind.empty() ? dropped.reason : dropped.kind) +
                                                  (dropped.value.empty() ? "" : " " + dropped.value)});
    for (int page : account.inNoOutput)
        pending.emplace(page, Pending{page, SheetTileState::InNoOutput, "in no output"});
    return pending;
}

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

void PlaceOutside(Flow& flow, std::map<int, Pending>& pending, int before) {
    while (!pending.empty() && pending.begin()->first < before) {
        Pending page = std::move(pending.begin()->second);
        pending.erase(pending.begin());
        flow.Unbanded();
        flow.Place({page.page, -1, page.state, std::to_string(page.page) + " · " + page.caption, {}});
    }
}

}  // namespace

SheetLayout LayOutPlanSheet(const std::string& title, const std::vector<host::PlannedOutput>& outputs,
                            const host::PageAccount& account) {
    SheetLayout layout;
    layout.title = title;
    layout.titleRect = {kMargin, 0, kSheetColumns * kTileWidth - kGap, kTitleHeight};
    layout.rowHeight = kRowHeight;
    layout.firstRowTop = kTitleHeight;
    std::map<int, Pending> pending = PagesOutsideOutputs(account);
    Flow flow(layout);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const int output = static_cast<int>(i);
        const std::vector<int>& pages = outputs[i].pages;
        if (!pages.empty()) PlaceOutside(flow, pending, pages.front());
        if (pages.empty()) flow.Place({0, output, SheetTileState::EmptyOutput, "no pages", {}});
        for (int page : pages) flow.Place({page, output, SheetTileState::InOutput, std::to_string(page), {}});
    }
    PlaceOutside(flow, pending, std::numeric_limits<int>::max());
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

unsigned SheetBandColour(int output) {
    // Hues far apart, dark enough for white names.
    static constexpr std::array<unsigned, 8> kColours = {0x1F77B4, 0xD95F02, 0x2CA02C, 0x7B3294,
                                                         0x8C564B, 0xC2185B, 0x00838F, 0x6D6D00};
    return kColours[static_cast<std::size_t>(output) % kColours.size()];
}

}  // namespace tessera::app
