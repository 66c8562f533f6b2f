#include "ui/ElementContentDialog.h"

#include <algorithm>

#include "model/ElementKindTable.h"

namespace tessera {
namespace {

// The kinds with a box, in the order the boxes are laid out.
std::vector<const ElementKindRow*> KindBoxes() {
    std::vector<const ElementKindRow*> boxes;
    for (const ElementKindRow& row : ElementKindRows())
        if (row.box) boxes.push_back(&row);
    std::ranges::sort(boxes, {}, &ElementKindRow::boxPlace);
    return boxes;
}

constexpr ControlId kContentGroup = 1076, kIcon = 1087;

}  // namespace

ElementContentDialog::ElementContentDialog(const PageQuery& query) : query_(query) {}

// The boxes in two columns.
std::vector<ControlId> ElementContentDialog::AlignedGroups() const { return {kContentGroup}; }

std::vector<ControlSpec> ElementContentDialog::Controls() const {
    std::vector<ControlSpec> specs = {
        {kIcon, ControlKind::Picture, "", 0, false, 0, Picture::PageElements},
        {0, ControlKind::Text,
         "Extract pages that contain specified page elements. Only pages that match ALL checked items will be "
         "extracted.",
         0, true},
        {kContentGroup, ControlKind::Group, "Required Page Content"},
    };
    bool secondColumn = false;
    for (const ElementKindRow* row : KindBoxes()) {
        specs.push_back({row->box, ControlKind::CheckBox, row->boxCaption, kContentGroup, secondColumn});
        secondColumn = !secondColumn;
    }
    specs.push_back({kOkButton, ControlKind::Button, "OK"});
    specs.push_back({kCancelButton, ControlKind::Button, "Cancel", 0, true});
    return specs;
}

void ElementContentDialog::Open(DialogView& view) {
    view_ = &view;
    const auto& kinds = query_.PageContentQuery;
    for (const ElementKindRow* row : KindBoxes())
        view.SetChecked(row->box, std::find(kinds.begin(), kinds.end(), row->kind) != kinds.end());
}

bool ElementContentDialog::Accept() {
    std::vector<host::PageElementKind> checked;
    for (const ElementKindRow* row : KindBoxes())
        if (view_->Checked(row->box)) checked.push_back(row->kind);
    // Queries list their kinds in one fixed order, whatever the order of the boxes.
    query_.PageContentQuery = InQueryOrder(checked);
    query_.Target = QueryTarget::QueryPageContent;
    query_.Enable = !query_.PageContentQuery.empty();
    return true;
}

}  // namespace tessera
