#include "ui/BookmarkPickerDialog.h"

#include "access/Host.h"
#include "access/OutlineWalk.h"

namespace tessera {
namespace {

constexpr ControlId kTree = 1036, kLegend = 1037, kUsableIcon = 1038, kNotUsableIcon = 1039;

class BusyCursor {
public:
    explicit BusyCursor(DialogView& view) : view_(view) { view_.SetBusy(true); }
    ~BusyCursor() { view_.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    DialogView& view_;
};

}  // namespace

BookmarkPickerDialog::BookmarkPickerDialog(const DocumentHandle& document) : document_(document) {}

std::vector<ControlSpec> BookmarkPickerDialog::Controls() const {
    return {
        {kTree, ControlKind::Tree, ""},
        {kLegend, ControlKind::Group, "Legend"},
        {kUsableIcon, ControlKind::Picture, "", kLegend, false, 0, Icon::Usable},
        {0, ControlKind::Text,
         "Bookmark points to location in the current document and can be used to define a page range", kLegend, true},
        {kNotUsableIcon, ControlKind::Picture, "", kLegend, false, 0, Icon::NotUsable},
        {0, ControlKind::Text, "Bookmark can't be used to define a page range, it points outside of the document",
         kLegend, true},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

bool IsUsableBookmark(host::BookmarkRef bookmark) {
    const host::HostServices& host = Host();
    if (!host.bookmarks->IsValid(bookmark)) return false;
    const host::ActionRef action = host.bookmarks->Action(bookmark);
    return !action.IsNull() && host.actions->IsValid(action) && host.actions->Subtype(action) == "GoTo";
}

void BookmarkPickerDialog::Open(DialogView& view) {
    view_ = &view;
    std::vector<TreeNode> shown;
    {
        BusyCursor busy(view);
        shown = ReadOutline();
    }
    view.ShowTree(kTree, shown, {});
    if (roots_.empty()) view_->ShowMessageByKey("IDS_NO_BOOKMARKS_EXIST");
}

std::vector<TreeNode> BookmarkPickerDialog::ReadOutline() {
    // Where an item and its children go: its parent's lists in both trees.
    struct Siblings {
        std::vector<TreeNode>* shown;
        std::vector<Item>* items;
    };
    std::vector<TreeNode> shown;
    roots_.clear();
    if (!document_.HasDocument()) return shown;
    const host::BookmarkRef root = Host().bookmarks->Root(document_.Doc());
    if (!Host().bookmarks->IsValid(root)) return shown;
    // The walk is depth first, so a parent's list grows again only after the
    // walk has left its last item's children: the pointers into it stay good
    // as long as they are used.
    WalkOutline(root, Siblings{&shown, &roots_}, [](host::BookmarkRef bookmark, const Siblings& parent) {
        parent.items->push_back({bookmark, {}});
        parent.shown->push_back({Host().bookmarks->Title(bookmark),
                                 IsUsableBookmark(bookmark) ? Icon::Usable : Icon::NotUsable,
                                 false,
                                 {}});
        return std::optional<Siblings>(Siblings{&parent.shown->back().children, &parent.items->back().children});
    });
    return shown;
}

const BookmarkPickerDialog::Item* BookmarkPickerDialog::ItemAt(const TreePath& path) const {
    const std::vector<Item>* level = &roots_;
    const Item* item = nullptr;
    for (int index : path) {
        if (index < 0 || static_cast<std::size_t>(index) >= level->size()) return nullptr;
        item = &(*level)[static_cast<std::size_t>(index)];
        level = &item->children;
    }
    return item;
}

void BookmarkPickerDialog::Activated(ControlId id) {
    if (id == kTree) view_->PressOk();
}

bool BookmarkPickerDialog::Accept() {
    const TreePath selected = view_->SelectedTreeItem(kTree);
    if (selected.empty()) {
        view_->ShowMessageByKey("IDS_NO_BOOKMARK_IS_SELECTED");
        return false;
    }
    const Item* item = ItemAt(selected);
    if (!item || item->bookmark.IsNull()) {
        view_->ShowMessageByKey("IDS_SELECTED_BOOKMARK_IS_INVALID");
        return false;
    }
    if (!IsUsableBookmark(item->bookmark)) {
        view_->ShowMessageByKey("IDS_BOOKMARK_POINTS_OUTSIDE");
        return false;
    }
    result_ = item->bookmark;
    return true;
}

}  // namespace tessera
