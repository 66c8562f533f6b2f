#include "ui/SeparatorSearchDialog.h"

#include "ui/AreaUnits.h"
#include "ui/TextAreaDialog.h"
#include "ui/TextQueryControls.h"

namespace tessera {
namespace {

constexpr TextQueryControls kQuery{1066, 1067, 1069, 1068};
constexpr ControlId kUseArea = 1125, kEditArea = 1126, kLeft = 1127, kRight = 1128, kTop = 1129, kBottom = 1130;

}  // namespace

SeparatorSearchDialog::SeparatorSearchDialog(const TextQuery& query, const DocumentHandle* document,
                                             const OcrSettings& ocr)
    : query_(query), document_(document), ocr_(ocr) {}

std::vector<ControlSpec> SeparatorSearchDialog::Controls() const {
    std::vector<ControlSpec> specs = kQuery.Specs(0);
    specs.insert(specs.end(),
                 {
                     {kUseArea, ControlKind::CheckBox, "Search for text only inside a specified area on the page"},
                     {kEditArea, ControlKind::Button, "Edit Area ...", 0, true},
                     {0, ControlKind::Text, "Left:"},
                     {kLeft, ControlKind::Text, "", 0, true},
                     {0, ControlKind::Text, "Right:", 0, true},
                     {kRight, ControlKind::Text, "", 0, true},
                     {0, ControlKind::Text, "Top:"},
                     {kTop, ControlKind::Text, "", 0, true},
                     {0, ControlKind::Text, "Bottom:", 0, true},
                     {kBottom, ControlKind::Text, "", 0, true},
                     {kOkButton, ControlKind::Button, "OK"},
                     {kCancelButton, ControlKind::Button, "Cancel", 0, true},
                 });
    return specs;
}

void SeparatorSearchDialog::Open(DialogView& view) {
    view_ = &view;
    kQuery.Show(view, query_);
    view.SetChecked(kUseArea, query_.UseAreaFilter);
    view.SetEnabled(kEditArea, query_.UseAreaFilter);
    ShowArea();
}

void SeparatorSearchDialog::ShowArea() {
    view_->SetText(kLeft, DescribeDistance(query_.Area.left));
    view_->SetText(kRight, DescribeDistance(query_.Area.right));
    view_->SetText(kTop, DescribeDistance(query_.Area.top));
    view_->SetText(kBottom, DescribeDistance(query_.Area.bottom));
}

void SeparatorSearchDialog::Changed(ControlId id) {
    if (id == kUseArea) view_->SetEnabled(kEditArea, view_->Checked(kUseArea));
    if (id != kEditArea) return;
    TextAreaDialog area(query_.Area, "Text Search Area", kSearchAreaMessage, document_, ocr_);
    if (!view_->RunModal(area)) return;
    query_.Area = area.Result();
    ShowArea();
}

bool SeparatorSearchDialog::Accept() {
    // The pattern is not compiled here: the split checks every pattern before
    // it scans a page, and says what is wrong with one.
    if (view_->Text(kQuery.pattern).empty()) {
        view_->ShowMessageByKey("IDS_SEARCH_PATTERN_IS_EMPTY_OR_INVALID");
        return false;
    }
    kQuery.Read(*view_, query_);
    query_.UseAreaFilter = view_->Checked(kUseArea);
    return true;
}

}  // namespace tessera
