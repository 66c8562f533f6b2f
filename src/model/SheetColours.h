#pragma once
// The colours a separator sheet may be named by, set from scanned paper of
// that colour rather than from the pure colour of its name: a scanner sees
// yellow paper as (250, 235, 90) and pastel yellow as (255, 245, 130), far
// from #FFFF00 in blue.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tessera {

struct SheetColourRow {
    const char* name;
    std::int32_t rgb;  // 0xRRGGBB
    std::int32_t tolerance;
};

std::span<const SheetColourRow> SheetColourRows();
// A colour's name, "white", or "#RRGGBB" (whose tolerance is 0: the one
// set stays); none for anything else.
std::optional<SheetColourRow> ParseSheetColour(const std::string& text);
// "black (#1E1E1E ±64), yellow (...)...", for help texts.
std::string SheetColourList();

// Whether white paper lies within `tolerance` of the colour: then every
// printed page is mostly of that colour, and no sheet can be told by it.
bool IsPaperColour(std::int32_t rgb, std::int32_t tolerance);

// "#RRGGBB".
std::string ColourText(std::int32_t rgb);

}  // namespace tessera
