#pragma once
// Where a plan's pages go on its picture (--plan-picture): a contact sheet
// of the pages in the order the outputs take them, each output's pages under
// a band of its colour that carries its file name, dropped pages crossed,
// pages in no output greyed, outputs without pages as an empty place.
#include <string>
#include <vector>

#include "host/CommandLineServices.h"
#include "host/PlanPlaces.h"

namespace tessera::app {

struct SheetRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// One place on the sheet: the page's picture fits in `picture`, its caption
// goes under it.
struct SheetTile {
    int page = 0;     // 1-based; 0 for an output without pages
    int output = -1;  // 0-based planned output; -1 for none
    host::PlaceKind state = host::PlaceKind::InOutput;
    std::string caption;
    SheetRect picture;
};

// An output's band over the tiles it holds in one row; an output that goes
// on over rows has a band in each.
struct SheetBand {
    int output = 0;  // 0-based
    std::string label;
    SheetRect rect;
};

struct SheetLayout {
    int width = 0, height = 0;
    std::string title;
    SheetRect titleRect;
    int rowHeight = 0;
    int firstRowTop = 0;
    std::vector<SheetTile> tiles;
    std::vector<SheetBand> bands;
};

// Page pictures fit in a box this size; a row holds kSheetColumns of them.
inline constexpr int kSheetPictureWidth = 96, kSheetPictureHeight = 124;
inline constexpr int kSheetColumns = 12;

SheetLayout LayOutPlanSheet(const std::string& title, const std::vector<host::PlannedOutput>& outputs,
                            const host::PageAccount& account);

}  // namespace tessera::app
