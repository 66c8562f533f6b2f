#include "ui/ValueChangeDialog.h"

#include "reading/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/AreaUnits.h"
#include "ui/DialogView.h"
#include "ui/TextAreaDialog.h"

namespace tessera {
namespace {

constexpr ControlId kKind = 1211, kArea = 1212, kAreaText = 1213, kPattern = 1214, kMatchCase = 1215, kMissing = 1216,
                    kGroup = 1217;

// Short enough for the line beside the button: the edges in inches.
std::string DescribeArea(const PageArea& a) {
    std::vector<std::string> edges;
    for (const Fixed16 edge : {a.left, a.top, a.right, a.bottom}) edges.push_back(ShowInUnit(edge, AreaUnit::Inches));
    return FormatText(LookupString("IDS_VALUE_AREA_EDGES"), {edges[0], edges[1], edges[2], edges[3]});
}

}  // namespace

ValueChangeDialog::ValueChangeDialog(const OutputSettings& settings) : OutputSettingsDialog(settings) {}

std::vector<ControlSpec> ValueChangeDialog::Controls() const {
    return {
        {kKind, ControlKind::DropDown, "An output starts where this value changes:"},
        {kArea, ControlKind::Button, "Area...", 0},
        {kAreaText, ControlKind::Text, "", 0, true},
        {kPattern, ControlKind::Edit, "Pattern (its match, or its groups):", 0, false, 512},
        {kMatchCase, ControlKind::CheckBox, "Match case", 0, true},
        {kMissing, ControlKind::DropDown, "A page without the value:"},
        {kGroup, ControlKind::CheckBox, "Put every page of one value into one output, in page order"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void ValueChangeDialog::Open(DialogView& view) {
    view_ = &view;
    view.FillList(kKind, {{"The text in an area", 0},
                          {"The match of a pattern", 1},
                          {"The page label's prefix", 2},
                          {"The page's size and orientation", 3}});
    view.SelectListData(kKind, static_cast<int>(settings_.ChangeKey));
    view.FillList(kMissing, {{"stays with the output before", 0}, {"starts an output of its own", 1}});
    view.SelectListData(kMissing, settings_.MissingKeyStartsNew ? 1 : 0);
    view.SetText(kPattern, settings_.SeparatorQuery.Pattern);
    view.SetChecked(kMatchCase, settings_.SeparatorQuery.MatchCase);
    view.SetChecked(kGroup, settings_.GroupSameKey);
    ShowEnabling();
}

void ValueChangeDialog::ShowEnabling() {
    const int kind = view_->SelectedListData(kKind).value_or(0);
    const TextQuery& q = settings_.SeparatorQuery;
    view_->SetEnabled(kArea, kind <= 1);
    view_->SetText(kAreaText, q.UseAreaFilter ? DescribeArea(q.Area) : LookupString("IDS_VALUE_AREA_WHOLE_PAGE"));
    view_->SetEnabled(kPattern, kind == 1);
    view_->SetEnabled(kMatchCase, kind == 1);
}

void ValueChangeDialog::Changed(ControlId id) {
    if (id == kArea) {
        TextAreaDialog area(settings_.SeparatorQuery.Area, "Value Area", kSearchAreaMessage, document_, settings_.Ocr);
        if (view_->RunModal(area))
            settings_.SeparatorQuery.Area = area.Result(), settings_.SeparatorQuery.UseAreaFilter = true;
    }
    ShowEnabling();
}

bool ValueChangeDialog::Accept() {
    const auto kind = static_cast<ChangeKeyKind>(view_->SelectedListData(kKind).value_or(0));
    TextQuery& q = settings_.SeparatorQuery;
    const std::string pattern = view_->Text(kPattern);
    if (kind == ChangeKeyKind::AreaText && !q.UseAreaFilter) {
        view_->ShowMessageByKey("IDS_NO_VALUE_AREA");
        return false;
    }
    if (kind == ChangeKeyKind::PatternMatch) {
        const std::optional<PatternError> error = PatternErrorOf(pattern);
        if (pattern.empty() || error) {
            view_->ShowMessage(pattern.empty()
                                   ? LookupString("IDS_SEARCH_PATTERN_IS_EMPTY_OR_INVALID")
                                   : FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN"),
                                                {pattern, error->message, static_cast<std::int64_t>(error->offset)}));
            return false;
        }
        q.Pattern = pattern, q.UseRegExp = true, q.MatchCase = view_->Checked(kMatchCase);
    }
    settings_.ChangeKey = kind;
    settings_.MissingKeyStartsNew = view_->SelectedListData(kMissing).value_or(0) == 1;
    settings_.GroupSameKey = view_->Checked(kGroup);
    return true;
}

}  // namespace tessera
