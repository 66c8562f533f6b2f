#include "ui/CodeSeparatorDialog.h"

#include "reading/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kCodeMessageText = 1221, kCodePattern = 1222, kCodeMatchCase = 1223;

constexpr const char* kCodeMessage =
    "A page showing a barcode or 2-D code (QR, Data Matrix, Code 128, Code 39, EAN/UPC, PDF417, Aztec) is a "
    "separator sheet: it ends the output before it, and its code names the output after it ({code} in a name "
    "template, and {1}... for the pattern's groups). Give a pattern to take only the codes whose text matches it.";

}  // namespace

std::vector<ControlSpec> CodeSeparatorDialog::Controls() const {
    return {
        {kCodeMessageText, ControlKind::Text, "Message"},
        {kCodePattern, ControlKind::Edit, "Pattern (a regular expression; empty for any code):", 0, false, 512},
        {kCodeMatchCase, ControlKind::CheckBox, "Match case"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void CodeSeparatorDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetText(kCodeMessageText, kCodeMessage);
    view.SetText(kCodePattern, query_.Pattern);
    view.SetChecked(kCodeMatchCase, query_.MatchCase);
}

bool CodeSeparatorDialog::Accept() {
    const std::string pattern = view_->Text(kCodePattern);
    if (const std::optional<PatternError> error = PatternErrorOf(pattern); error && !pattern.empty()) {
        view_->ShowMessage(FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN"),
                                      {pattern, error->message, static_cast<std::int64_t>(error->offset)}));
        return false;
    }
    query_.Pattern = pattern;
    query_.UseRegExp = true;
    query_.MatchCase = view_->Checked(kCodeMatchCase);
    return true;
}

}  // namespace tessera
