#include "ui/BookmarkPickerDialog.h"

#include <gtest/gtest.h>

#include "engine/BookmarkTarget.h"
#include "support/PdfFixture.h"
#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

constexpr ControlId kTree = 1036;
using Icon = BookmarkPickerDialog::Icon;

// "web" opens a web address and holds "inner", which leads to page 3; "plain" leads to page 5.
class BookmarkPickerDialogTest : public testing::Test {
protected:
    BookmarkPickerDialogTest() {
        test::PdfFixture pdf(6);
        QPDFObjectHandle web = pdf.Item("web");
        web.replaceKey("/A", QPDFObjectHandle::parse("<< /S /URI /URI (https://example.org) >>"));
        pdf.SetChildren(web, {pdf.ItemToPage("inner", 2)});
        pdf.SetChildren({}, {web, pdf.ItemToPage("plain", 4)});
        pdf.Write(host.folder / "outline.pdf");
        document.emplace(host.OpenActive(host.folder / "outline.pdf"), DocumentHandle::Ownership::Borrowed);
    }

    test::DialogTestHost host;
    std::optional<DocumentHandle> document;
};

TEST_F(BookmarkPickerDialogTest, ShowsNestedItemsWithTheirIcons) {
    BookmarkPickerDialog dialog(*document);
    MemoryView view(dialog);
    EXPECT_FALSE(view.Closed());
    const std::vector<TreeNode>& tree = view.State(kTree).tree;
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].text, "web");
    EXPECT_EQ(tree[0].icon, Icon::NotUsable);
    ASSERT_EQ(tree[0].children.size(), 1u);
    EXPECT_EQ(tree[0].children[0].text, "inner");
    EXPECT_EQ(tree[0].children[0].icon, Icon::Usable);
    EXPECT_EQ(tree[1].icon, Icon::Usable);
}

TEST_F(BookmarkPickerDialogTest, RefusesNoChoiceAndBookmarksLeadingOutside) {
    BookmarkPickerDialog dialog(*document);
    MemoryView view(dialog);
    EXPECT_FALSE(view.PressOk());
    view.SelectTreeItem(kTree, {0});
    EXPECT_FALSE(view.PressOk());
    view.SelectTreeItem(kTree, {0, 3});
    EXPECT_FALSE(view.PressOk());
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_NO_BOOKMARK_IS_SELECTED", "IDS_BOOKMARK_POINTS_OUTSIDE",
                                             "IDS_SELECTED_BOOKMARK_IS_INVALID"}));
}

TEST_F(BookmarkPickerDialogTest, DoubleClickPicksTheBookmark) {
    BookmarkPickerDialog dialog(*document);
    MemoryView view(dialog);
    view.SelectTreeItem(kTree, {0, 0});
    view.Activate(kTree);
    ASSERT_TRUE(view.Closed());
    EXPECT_EQ(GetBookmarkTargetPage(*document, dialog.Result()), 2);
}

TEST(BookmarkPickerRealFileTest, ADocumentWithoutBookmarksClosesAtOnce) {
    test::DialogTestHost host;
    const DocumentHandle document(host.OpenActive("multicolumn-latex-2col.pdf"), DocumentHandle::Ownership::Borrowed);
    BookmarkPickerDialog dialog(document);
    MemoryView view(dialog);
    EXPECT_TRUE(view.Closed());
    EXPECT_EQ(host.TakeAlerts(), host.Texts({"IDS_NO_BOOKMARKS_EXIST"}));
}

// The hyperref manual's three-level outline holds GoToR, Launch and Named
// items beside its GoTo ones.
TEST(BookmarkPickerRealFileTest, AWholeRealOutline) {
    test::DialogTestHost host;
    const DocumentHandle document(host.OpenActive("hyperref-manual-outline-gotor-launch-named.pdf"),
                                  DocumentHandle::Ownership::Borrowed);
    BookmarkPickerDialog dialog(document);
    MemoryView view(dialog);
    int items = 0, usable = 0, deepest = 0;
    auto count = [&](auto& self, const std::vector<TreeNode>& nodes, int depth) -> void {
        for (const TreeNode& node : nodes) {
            ++items;
            usable += node.icon == Icon::Usable;
            deepest = std::max(deepest, depth);
            self(self, node.children, depth + 1);
        }
    };
    count(count, view.State(kTree).tree, 1);
    EXPECT_GT(usable, 10);
    EXPECT_LT(usable, items);
    EXPECT_EQ(deepest, 3);
}

}  // namespace
}  // namespace tessera
