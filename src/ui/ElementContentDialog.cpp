#include "ui/ElementContentDialog.h"

#include <algorithm>

#include "ui/ContentKindWords.h"

namespace tessera {
namespace {

using enum host::PageElementKind;

struct KindBox {
    ControlId id;
    const char* caption;
    host::PageElementKind kind;
};

// In the order they are laid out.
constexpr KindBox kBoxes[] = {
    {1077, "Image", Image},
    {1078, "Form elements ", Form},
    {1079, "Postscript object", PostScript},
    {1080, "Shading", Shading},
    {1081, "Text comment (annotation)", TextComment},
    {1082, "Link to a page in the same document", LinkToPage},
    {1086, "Link to a page in another document", ExternalLink},
    {1083, "Page transition", Transition},
    {1084, "Transparency effects", Transparency},
    {1085, "Page is rotated", Rotated},
    {1089, "Link to an internet address (URI)", WebLink},
    {1088, "Note comment (popup)", Popup},
    {1092, "Submit form action", SubmitForm},
    {1093, "Reset form action", ResetForm},
    {1091, "Executes JavaScript code", JavaScript},
    {1090, "Launches an application or prints", Launch},
    {1094, "Highlighting", Highlight},
    {1095, "Rubber stamp", Stamp},
};
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
    for (const KindBox& box : kBoxes) {
        specs.push_back({box.id, ControlKind::CheckBox, box.caption, kContentGroup, secondColumn});
        secondColumn = !secondColumn;
    }
    specs.push_back({kOkButton, ControlKind::Button, "OK"});
    specs.push_back({kCancelButton, ControlKind::Button, "Cancel", 0, true});
    return specs;
}

void ElementContentDialog::Open(DialogView& view) {
    view_ = &view;
    const auto& kinds = query_.PageContentQuery;
    for (const KindBox& box : kBoxes)
        view.SetChecked(box.id, std::find(kinds.begin(), kinds.end(), box.kind) != kinds.end());
}

bool ElementContentDialog::Accept() {
    std::vector<host::PageElementKind> checked;
    for (const KindBox& box : kBoxes)
        if (view_->Checked(box.id)) checked.push_back(box.kind);
    // Queries list their kinds in one fixed order, whatever the order of the boxes.
    query_.PageContentQuery = InDialogOrder(checked);
    query_.Target = QueryTarget::QueryPageContent;
    query_.Enable = !query_.PageContentQuery.empty();
    return true;
}

}  // namespace tessera
