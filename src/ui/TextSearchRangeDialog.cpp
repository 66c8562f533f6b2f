#include "ui/TextSearchRangeDialog.h"

#include "reading/SearchPattern.h"
#include "ui/TextQueryControls.h"

namespace tessera {
namespace {

constexpr ControlId kSinglePage = 1071, kPageSet = 1072, kPageRanges = 1073, kFirstGroup = 1075, kLastGroup = 1076,
                    kExcludeLast = 1070, kHelp = 1045;
constexpr TextQueryControls kFirst{1065, 1062, 1064, 1063};
constexpr TextQueryControls kLast{1066, 1067, 1069, 1068};

// The first group's two captions belong to the program, not to the language table.
constexpr const char* kFirstOfRange = "Search for First Page of the Range";
constexpr const char* kMatchingPages = "Search for Matching Page(s)";

ControlId RadioOf(QueryTarget target) {
    if (target == QueryTarget::QueryPageSet) return kPageSet;
    if (target == QueryTarget::QueryPageRanges) return kPageRanges;
    return kSinglePage;
}

// Whether the pattern is there and compiles as it will be searched: plain
// text such as "(" is taken, as every route takes it.
bool Usable(const DialogView& view, const TextQueryControls& controls) {
    TextQuery query;
    controls.Read(view, query);
    return !query.Pattern.empty() && !QueryPatternError(query);
}

}  // namespace

TextSearchRangeDialog::TextSearchRangeDialog(const PageQuery& query) : query_(query) {}

std::vector<ControlSpec> TextSearchRangeDialog::Controls() const {
    std::vector<ControlSpec> specs = {
        {kSinglePage, ControlKind::Radio, "Single page that matches the search criteria"},
        {kPageSet, ControlKind::Radio, "Set of individual pages matching the search criteria"},
        {kPageRanges, ControlKind::Radio, "Set of page ranges where first and last pages match the search criteria"},
        {kFirstGroup, ControlKind::Group, kMatchingPages},
    };
    for (const ControlSpec& spec : kFirst.Specs(kFirstGroup)) specs.push_back(spec);
    specs.push_back({kLastGroup, ControlKind::Group, "Search for the Last Page of the Range"});
    for (const ControlSpec& spec : kLast.Specs(kLastGroup)) specs.push_back(spec);
    specs.insert(specs.end(),
                 {
                     {kExcludeLast, ControlKind::CheckBox, "Exclude last page from the output page range", kLastGroup},
                     {kHelp, ControlKind::Button, "Help..."},
                     {kOkButton, ControlKind::Button, "OK", 0, true},
                     {kCancelButton, ControlKind::Button, "Cancel", 0, true},
                 });
    return specs;
}

void TextSearchRangeDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetVisible(kHelp, false);
    view.SetEnabled(kHelp, false);
    for (ControlId radio : {kSinglePage, kPageSet, kPageRanges}) view.SetChecked(radio, false);
    view.SetChecked(RadioOf(query_.Target), true);
    kFirst.Show(view, query_.FirstPageQuery);
    kLast.Show(view, query_.LastPageQuery);
    view.SetChecked(kExcludeLast, query_.ExcludeLastPage);
    ApplyMode();
}

void TextSearchRangeDialog::ApplyMode() {
    const bool ranges = view_->Checked(kPageRanges);
    for (ControlId id : kLast.Ids()) view_->SetEnabled(id, ranges);
    view_->SetEnabled(kExcludeLast, ranges);
    view_->SetText(kFirstGroup, ranges ? kFirstOfRange : kMatchingPages);
}

void TextSearchRangeDialog::Changed(ControlId id) {
    if (id == kSinglePage || id == kPageSet || id == kPageRanges) ApplyMode();
}

bool TextSearchRangeDialog::Accept() {
    const bool ranges = view_->Checked(kPageRanges);
    if (!Usable(*view_, kFirst) || (ranges && !Usable(*view_, kLast))) {
        view_->ShowMessageByKey("IDS_SEARCH_PATTERN_IS_EMPTY_OR_INVALID");
        return false;
    }
    query_.Target = ranges                     ? QueryTarget::QueryPageRanges
                    : view_->Checked(kPageSet) ? QueryTarget::QueryPageSet
                                               : QueryTarget::QuerySinglePage;
    kFirst.Read(*view_, query_.FirstPageQuery);
    kLast.Read(*view_, query_.LastPageQuery);
    query_.ExcludeLastPage = view_->Checked(kExcludeLast);
    // Both patterns passed the test above when they are needed.
    query_.Enable = true;
    return true;
}

}  // namespace tessera
