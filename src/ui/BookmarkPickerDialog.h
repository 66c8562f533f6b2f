#pragma once
// "Select Bookmark To Define Page Range": the document's whole outline, from
// which the user picks a bookmark that leads to a place in this document.
#include <vector>

#include "access/DocumentHandle.h"
#include "host/HostTypes.h"
#include "ui/Dialog.h"

namespace tessera {

class BookmarkPickerDialog : public Dialog {
public:
    // The tree's icons, which the legend explains.
    struct Icon {
        static constexpr Picture Usable = Picture::UsableBookmark, NotUsable = Picture::NotUsableBookmark;
    };

    explicit BookmarkPickerDialog(const DocumentHandle& document);
    // Valid after OK.
    host::BookmarkRef Result() const { return result_; }

    std::string Caption() const override { return "Select Bookmark To Define Page Range"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Activated(ControlId id) override;
    bool Accept() override;
    bool ClosesAtOnce() const override { return roots_.empty(); }

private:
    // An item of the tree with the bookmark it stands for.
    struct Item {
        host::BookmarkRef bookmark;
        std::vector<Item> children;
    };
    // Fills both trees, the shown one and the dialog's own, in the outline's order.
    std::vector<TreeNode> ReadOutline();
    const Item* ItemAt(const TreePath& path) const;

    const DocumentHandle& document_;
    std::vector<Item> roots_;
    host::BookmarkRef result_;
    DialogView* view_ = nullptr;
};

// A bookmark that jumps to a place in its own document, the only kind whose
// destination gives a page.
bool IsUsableBookmark(host::BookmarkRef bookmark);

}  // namespace tessera
