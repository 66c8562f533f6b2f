#include "ui/SheetSeparatorDialog.h"

#include <cstdio>
#include <limits>
#include <optional>

#include "model/SheetColours.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kSheetColour = 1231, kSheetTolerance = 1232, kSheetShare = 1233, kSheetSample = 1234,
                    kSheetSwatch = 1235;

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    int value = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d%c", &value, &end) != 1 || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::vector<ControlSpec> SheetSeparatorDialog::Controls() const {
    return {
        {kSheetColour, ControlKind::Edit, "Colour (a name or #RRGGBB):", 0, false, 7},
        {kSheetSwatch, ControlKind::Swatch, "", 0, true},
        {0, ControlKind::Text, "Names: " + SheetColourList()},
        {kSheetSample, ControlKind::NumberEdit, "Or take the colour from this page, a sheet (0: the colour above):"},
        {kSheetTolerance, ControlKind::NumberEdit, "Tolerance in each of red, green and blue (1 to 255):"},
        {kSheetShare, ControlKind::NumberEdit, "Percentage of the sheet that must lie near the colour (50 to 100):"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void SheetSeparatorDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetText(kSheetColour, ColourText(settings_.SheetColour));
    ShowSwatch();
    view.SetText(kSheetSample, std::to_string(settings_.SheetSamplePage));
    view.SetText(kSheetTolerance, std::to_string(settings_.SheetTolerance));
    view.SetText(kSheetShare, std::to_string(settings_.SheetShare));
}

void SheetSeparatorDialog::Changed(ControlId id) {
    if (id == kSheetColour) ShowSwatch();
}

// What a typed name means is seen before OK; a colour not yet understood shows none.
void SheetSeparatorDialog::ShowSwatch() {
    const std::optional<SheetColourRow> colour = ParseSheetColour(view_->Text(kSheetColour));
    view_->SetText(kSheetSwatch, colour ? ColourText(colour->rgb) : "");
}

bool SheetSeparatorDialog::Accept() {
    const std::optional<SheetColourRow> colour = ParseSheetColour(view_->Text(kSheetColour));
    std::optional<int> tolerance = WholeNumber(view_->Text(kSheetTolerance), 1, 255);
    const std::optional<int> share = WholeNumber(view_->Text(kSheetShare), 50, 100);
    const std::optional<int> sample = WholeNumber(view_->Text(kSheetSample), 0, std::numeric_limits<int>::max());
    if (!colour || !tolerance || !share || !sample) {
        view_->ShowMessageByKey(!colour      ? "IDS_SHEET_COLOUR_INVALID"
                                : !tolerance ? "IDS_SHEET_TOLERANCE_INVALID"
                                : !share     ? "IDS_SHEET_SHARE_INVALID"
                                             : "IDS_SHEET_SAMPLE_INVALID");
        return false;
    }
    // A name chosen anew brings the tolerance measured for it.
    if (colour->tolerance > 0 && colour->rgb != settings_.SheetColour) tolerance = colour->tolerance;
    if (*sample == 0 && IsPaperColour(colour->rgb, *tolerance)) {
        view_->ShowMessage(
            FormatText(LookupString("IDS_SHEET_COLOUR_IS_PAPER"), {ColourText(colour->rgb), std::int64_t{*tolerance}}));
        return false;
    }
    settings_.SheetColour = colour->rgb;
    settings_.SheetTolerance = *tolerance;
    settings_.SheetShare = *share;
    settings_.SheetSamplePage = *sample;
    return true;
}

}  // namespace tessera
