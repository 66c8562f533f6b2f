#include "ui/OutputDocumentOptionsDialog.h"

#include "model/OutputDocument.h"

namespace tessera {
namespace {

constexpr ControlId kAutomatic = 1111, kCustom = 1112, kName = 1113, kGroup = 1114;

}  // namespace

OutputDocumentOptionsDialog::OutputDocumentOptionsDialog(bool customName, std::string name)
    : customName_(customName), name_(std::move(name)) {}

std::vector<ControlSpec> OutputDocumentOptionsDialog::Controls() const {
    return {
        {kGroup, ControlKind::Group, "Output File Name"},
        {kAutomatic, ControlKind::Radio, "Assign output filename automatically", kGroup},
        {kCustom, ControlKind::Radio, "Use custom file name:", kGroup},
        {kName, ControlKind::Edit, "", kGroup, true},
        {0, ControlKind::Text, ".pdf", kGroup, true},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void OutputDocumentOptionsDialog::Open(DialogView& view) {
    view_ = &view;
    if (name_.empty()) customName_ = false;
    view.SetChecked(kAutomatic, !customName_);
    view.SetChecked(kCustom, customName_);
    view.SetText(kName, name_);
    view.SetEnabled(kName, customName_);
}

void OutputDocumentOptionsDialog::Changed(ControlId id) {
    if (id == kAutomatic || id == kCustom) view_->SetEnabled(kName, view_->Checked(kCustom));
}

bool OutputDocumentOptionsDialog::Accept() {
    const bool custom = view_->Checked(kCustom);
    const std::string name = view_->Text(kName);
    if (custom && name.empty()) {
        view_->ShowMessageByKey("IDS_FILENAME_CANT_BE_EMPTY");
        return false;
    }
    if (custom && !IsValidCustomName(name)) {
        view_->ShowMessageByKey("IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY");
        return false;
    }
    customName_ = custom;
    name_ = name;
    return true;
}

}  // namespace tessera
