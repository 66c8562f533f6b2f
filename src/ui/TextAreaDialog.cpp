#include "ui/TextAreaDialog.h"

#include <algorithm>
#include <optional>

#include "access/Host.h"
#include "access/ModulePath.h"
#include "model/SettingsCheck.h"
#include "ui/AreaUnits.h"

namespace tessera {
namespace {

constexpr ControlId kLeft = 1116, kRight = 1117, kTop = 1118, kBottom = 1036, kUnits = 1114, kMessage = 1128,
                    kPicture = 1115;
constexpr const char* kUnitsValue = "Units";

std::string UnitsKey() { return ModuleBaseName() + "\\TextFromPage"; }

// A stored unit no entry stands for reads as inches, the first entry.
AreaUnit StoredUnit() {
    const auto stored = Host().registry->ReadSection(UnitsKey()).Dword(kUnitsValue);
    return stored && *stored <= static_cast<std::uint32_t>(AreaUnit::Points) ? static_cast<AreaUnit>(*stored)
                                                                             : AreaUnit::Inches;
}

}  // namespace

TextAreaDialog::TextAreaDialog(const PageArea& area, std::string title, std::string message)
    : area_(area), title_(std::move(title)), message_(std::move(message)) {}

// The four edges' edits in two columns.
std::vector<ControlId> TextAreaDialog::AlignedGroups() const { return {0}; }

std::vector<ControlSpec> TextAreaDialog::Controls() const {
    return {
        {kMessage, ControlKind::Text, "Message"},
        {kPicture, ControlKind::Picture, "", 0, false, 0, Picture::PageAreaSample},
        {kLeft, ControlKind::Edit, "Left:"},
        {kRight, ControlKind::Edit, "Right:", 0, true},
        {kTop, ControlKind::Edit, "Top:"},
        {kBottom, ControlKind::Edit, "Bottom:", 0, true},
        {kUnits, ControlKind::DropDown, "Distance Units:"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void TextAreaDialog::Open(DialogView& view) {
    view_ = &view;
    if (!title_.empty()) view.SetTitle(title_);
    view.SetText(kMessage, LookupString(message_));
    view.FillList(kUnits, {{"Inches", 0}, {"Centimeters", 1}, {"Millimeters", 2}, {"Points", 3}});
    const AreaUnit unit = StoredUnit();
    view.SelectListData(kUnits, static_cast<int>(unit));
    view.SetText(kLeft, ShowInUnit(std::min(area_.left, area_.right), unit));
    view.SetText(kRight, ShowInUnit(std::max(area_.left, area_.right), unit));
    view.SetText(kTop, ShowInUnit(std::min(area_.top, area_.bottom), unit));
    view.SetText(kBottom, ShowInUnit(std::max(area_.top, area_.bottom), unit));
}

bool TextAreaDialog::Accept() {
    // The numbers are taken in the unit chosen now: choosing another one does
    // not convert what the edits show.
    const auto unit = static_cast<AreaUnit>(view_->SelectedListData(kUnits).value_or(0));
    const std::optional<Fixed16> left = ReadInUnit(view_->Text(kLeft), unit);
    const std::optional<Fixed16> right = ReadInUnit(view_->Text(kRight), unit);
    const std::optional<Fixed16> top = ReadInUnit(view_->Text(kTop), unit);
    const std::optional<Fixed16> bottom = ReadInUnit(view_->Text(kBottom), unit);
    if (!left || !right || !top || !bottom) {
        view_->ShowMessageByKey("IDS_AREA_NUMBER_OUT_OF_RANGE");
        return false;
    }
    // Edges out of order are said, as every route says them, not swapped behind the user's back.
    const PageArea area{*left, *top, *right, *bottom};
    if (const std::optional<std::string> refusal = AreaRefusal(area)) {
        view_->ShowMessage(*refusal);
        return false;
    }
    Host().registry->WriteSection(UnitsKey(), {{kUnitsValue, static_cast<std::uint32_t>(unit)}});
    area_ = area;
    return true;
}

}  // namespace tessera
