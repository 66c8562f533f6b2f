#include "report/PlanPicture.h"

#include <algorithm>

#include "host/HostError.h"
#include "pdf/pixels/SheetCanvas.h"

namespace tessera::app {
namespace {

constexpr unsigned kInk = 0x202020, kMuted = 0x606060, kFrame = 0xA0A0A0;
constexpr unsigned kCross = 0xD01010, kNoOutputWash = 0xD0D0D0, kUndrawn = 0xF6D8D8;

pdf::CanvasRect Rect(const SheetRect& r) { return {r.x, r.y, r.width, r.height}; }

void DrawBand(pdf::SheetCanvas& canvas, const SheetBand& band) {
    canvas.Fill(Rect(band.rect), host::PlanOutputColour(band.output));
    // Names of one run share their start and differ at their end.
    canvas.Text(band.rect.x + 4, band.rect.y + 13, band.rect.width - 8, band.label, 11, 0xFFFFFF,
                pdf::SheetCanvas::Cut::Middle);
}

// The page's picture centred in its box; where it cannot be drawn, a marked
// place saying so. The rectangle the page takes.
pdf::CanvasRect DrawPage(pdf::SheetCanvas& canvas, const SheetTile& tile, const PagePicture& pictureOf) {
    const pdf::CanvasRect box = Rect(tile.picture);
    try {
        const host::PageImage image = pictureOf(tile.page);
        const pdf::CanvasRect shown{box.x + (box.width - image.width) / 2, box.y + (box.height - image.height) / 2,
                                    image.width, image.height};
        canvas.Image(shown.x, shown.y, image);
        canvas.Frame(shown, kFrame);
        return shown;
    } catch (const host::HostError&) {
        canvas.Fill(box, kUndrawn);
        canvas.Frame(box, kCross);
        canvas.Text(box.x + 6, box.y + box.height / 2, box.width - 12, "cannot draw", 10, kCross);
        return box;
    }
}

void DrawTile(pdf::SheetCanvas& canvas, const SheetTile& tile, const PagePicture& pictureOf) {
    const pdf::CanvasRect box = Rect(tile.picture);
    const int captionBase = box.y + box.height + 12;
    if (tile.state == host::PlaceKind::EmptyOutput) {
        canvas.Frame({box.x + 8, box.y + 8, box.width - 16, box.height - 16}, kFrame);
        canvas.Text(box.x + 14, box.y + box.height / 2, box.width - 28, "no pages", 10, kMuted);
        canvas.Text(box.x, captionBase, box.width, tile.caption, 9, kMuted);
        return;
    }
    const pdf::CanvasRect page = DrawPage(canvas, tile, pictureOf);
    if (tile.state == host::PlaceKind::InNoOutput) canvas.Wash(page, kNoOutputWash, 0.7);
    if (tile.state == host::PlaceKind::Dropped) {
        canvas.Line(page.x, page.y, page.x + page.width, page.y + page.height, 3, kCross);
        canvas.Line(page.x, page.y + page.height, page.x + page.width, page.y, 3, kCross);
    }
    canvas.Text(box.x, captionBase, box.width, tile.caption, 9, tile.state == host::PlaceKind::Dropped ? kCross : kInk);
}

}  // namespace

void WritePlanPicture(const std::string& path, const SheetLayout& layout, const PagePicture& pictureOf) {
    pdf::SheetCanvas canvas(path, layout.width, layout.height);
    // Bands and tiles come row by row; the title goes with the first row,
    // as no strip may be taller than the first.
    auto band = layout.bands.begin();
    auto tile = layout.tiles.begin();
    for (int top = 0, next = layout.firstRowTop + layout.rowHeight; top < layout.height;
         top = next, next += layout.rowHeight) {
        canvas.BeginStrip(top, next - top);
        if (top == 0)
            canvas.Text(layout.titleRect.x, layout.titleRect.y + 20, layout.titleRect.width, layout.title, 13, kInk);
        for (; band != layout.bands.end() && band->rect.y < next; ++band) DrawBand(canvas, *band);
        for (; tile != layout.tiles.end() && tile->picture.y < next; ++tile) DrawTile(canvas, *tile, pictureOf);
        canvas.EndStrip();
    }
    canvas.Commit();
}

}  // namespace tessera::app
