#include "ui/CodeSeparatorDialog.h"

#include "model/SettingsChoices.h"
#include "reading/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kCodeMessageText = 1221, kCodePattern = 1222, kCodeMatchCase = 1223, kCodeAnywhere = 1235;
// One check box a kind of code, in the order of their rows, in a group of their own.
constexpr ControlId kCodeKindGroup = 1220, kFirstCodeKind = 1224;

ControlId KindBox(std::size_t row) { return kFirstCodeKind + static_cast<ControlId>(row); }

}  // namespace

std::vector<ControlSpec> CodeSeparatorDialog::Controls() const {
    std::vector<ControlSpec> controls = {{kCodeMessageText, ControlKind::Text, "Message"},
                                         {kCodeKindGroup, ControlKind::Group, "Kinds of code"}};
    for (std::size_t row = 0; row < std::size(kCodeKindRows); ++row)
        controls.push_back(
            {KindBox(row), ControlKind::CheckBox, LookupString(kCodeKindRows[row].captionKey), kCodeKindGroup});
    controls.insert(
        controls.end(),
        {{kCodePattern, ControlKind::Edit, "Pattern (a regular expression; empty for any code):", 0, false, 512},
         {kCodeMatchCase, ControlKind::CheckBox, "Match case"},
         {kCodeAnywhere, ControlKind::CheckBox, "Any page showing a code is a sheet, whatever else it holds"},
         {kOkButton, ControlKind::Button, "OK"},
         {kCancelButton, ControlKind::Button, "Cancel", 0, true}});
    return controls;
}

void CodeSeparatorDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetText(kCodeMessageText, LookupString("IDS_CODE_SEPARATOR_HELP"));
    for (std::size_t row = 0; row < std::size(kCodeKindRows); ++row)
        view.SetChecked(KindBox(row), (settings_.CodeKinds & kCodeKindRows[row].value) != 0);
    view.SetText(kCodePattern, settings_.SeparatorQuery.Pattern);
    view.SetChecked(kCodeMatchCase, settings_.SeparatorQuery.MatchCase);
    view.SetChecked(kCodeAnywhere, settings_.CodeAnywhere);
}

bool CodeSeparatorDialog::Accept() {
    std::int32_t kinds = 0;
    for (std::size_t row = 0; row < std::size(kCodeKindRows); ++row)
        if (view_->Checked(KindBox(row))) kinds |= static_cast<std::int32_t>(kCodeKindRows[row].value);
    if (kinds == 0) {
        view_->ShowMessage(LookupString("IDS_NO_CODE_KINDS"));
        return false;
    }
    const std::string pattern = view_->Text(kCodePattern);
    if (const std::optional<PatternError> error = PatternErrorOf(pattern); error && !pattern.empty()) {
        view_->ShowMessage(FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN"),
                                      {pattern, error->message, static_cast<std::int64_t>(error->offset)}));
        return false;
    }
    settings_.CodeKinds = kinds;
    settings_.SeparatorQuery.Pattern = pattern;
    settings_.SeparatorQuery.UseRegExp = true;
    settings_.SeparatorQuery.MatchCase = view_->Checked(kCodeMatchCase);
    settings_.CodeAnywhere = view_->Checked(kCodeAnywhere);
    return true;
}

}  // namespace tessera
