#include "ui/SheetSeparatorDialog.h"

#include <cstdio>
#include <optional>

#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kSheetColour = 1231, kSheetTolerance = 1232, kSheetShare = 1233;

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    int value = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d%c", &value, &end) != 1 || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::vector<ControlSpec> SheetSeparatorDialog::Controls() const {
    return {
        {kSheetColour, ControlKind::Edit, "Colour (#RRGGBB; #000000 is black, #FFFF00 yellow):", 0, false, 7},
        {kSheetTolerance, ControlKind::NumberEdit, "Tolerance in each of red, green and blue (1 to 255):"},
        {kSheetShare, ControlKind::NumberEdit, "Percentage of the sheet that must lie near the colour (50 to 100):"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void SheetSeparatorDialog::Open(DialogView& view) {
    view_ = &view;
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%06X", static_cast<unsigned>(settings_.SheetColour) & 0xFFFFFFu);
    view.SetText(kSheetColour, colour);
    view.SetText(kSheetTolerance, std::to_string(settings_.SheetTolerance));
    view.SetText(kSheetShare, std::to_string(settings_.SheetShare));
}

bool SheetSeparatorDialog::Accept() {
    const std::string colour = view_->Text(kSheetColour);
    unsigned rgb = 0;
    char end = 0;
    const bool colourRead = colour.size() == 7 && std::sscanf(colour.c_str(), "#%6x%c", &rgb, &end) == 1;
    const std::optional<int> tolerance = WholeNumber(view_->Text(kSheetTolerance), 1, 255);
    const std::optional<int> share = WholeNumber(view_->Text(kSheetShare), 50, 100);
    if (!colourRead || !tolerance || !share) {
        view_->ShowMessageByKey(!colourRead  ? "IDS_SHEET_COLOUR_INVALID"
                                : !tolerance ? "IDS_SHEET_TOLERANCE_INVALID"
                                             : "IDS_SHEET_SHARE_INVALID");
        return false;
    }
    settings_.SheetColour = static_cast<std::int32_t>(rgb);
    settings_.SheetTolerance = *tolerance;
    settings_.SheetShare = *share;
    return true;
}

}  // namespace tessera
