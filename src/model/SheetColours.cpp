#include "model/SheetColours.h"

#include <algorithm>
#include <cstdio>

namespace tessera {
namespace {

// Each a band around what scans of such paper show, wide enough for a
// scanner's noise and the paper's own shades, narrow enough to leave white
// paper out. Yellow reaches from pastel (255, 245, 130) to the saturated
// yellow some scanners make of yellow paper (250, 225, 60).
constexpr SheetColourRow kSheetColours[] = {
    {"black", 0x1E1E1E, 64}, {"grey", 0xA0A0A0, 40}, {"yellow", 0xFAEB6E, 56}, {"red", 0xDC3C3C, 64},
    {"green", 0x96D296, 48}, {"blue", 0x8CBEE6, 48}, {"orange", 0xFAA546, 48}, {"pink", 0xFABED2, 40},
};

}  // namespace

std::span<const SheetColourRow> SheetColourRows() { return kSheetColours; }

std::optional<SheetColourRow> ParseSheetColour(const std::string& text) {
    for (const SheetColourRow& row : kSheetColours)
        if (text == row.name) return row;
    // Named so that the check can say why white paper makes no sheet.
    if (text == "white") return SheetColourRow{"white", 0xFFFFFF, 64};
    if (text.size() != 7 || text[0] != '#' || text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        return std::nullopt;
    return SheetColourRow{"", static_cast<std::int32_t>(std::stoul(text.substr(1), nullptr, 16)), 0};
}

std::string SheetColourList() {
    std::string list;
    for (const SheetColourRow& row : kSheetColours)
        list += (list.empty() ? "" : ", ") + std::string(row.name) + " (" + ColourText(row.rgb) + " \xC2\xB1" +
                std::to_string(row.tolerance) + ")";
    return list;
}

bool IsPaperColour(std::int32_t rgb, std::int32_t tolerance) {
    for (const int shift : {16, 8, 0})
        if (255 - (rgb >> shift & 0xFF) > tolerance) return false;
    return true;
}

std::string ColourText(std::int32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb) & 0xFFFFFFu);
    return text;
}

}  // namespace tessera
