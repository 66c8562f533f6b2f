#include "ui/ElementContentDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

using enum host::PageElementKind;
constexpr ControlId kImageBox = 1077, kStampBox = 1095, kWebLinkBox = 1089;

TEST(ElementContentDialogTest, KindsInTheFixedOrderAndUnknownOnesDropped) {
    test::DialogTestHost host;
    PageQuery query;
    query.PageContentQuery = {WebLink, PlaySound};
    ElementContentDialog dialog(query);
    MemoryView view(dialog);
    EXPECT_TRUE(view.Checked(kWebLinkBox));
    view.Click(kWebLinkBox);
    view.Click(kStampBox);
    view.Click(kImageBox);
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result().PageContentQuery, (std::vector{Image, Stamp}));
    EXPECT_EQ(dialog.Result().Target, QueryTarget::QueryPageContent);
    EXPECT_TRUE(dialog.Result().Enable);

    ElementContentDialog empty(query);
    MemoryView emptyView(empty);
    emptyView.Click(kWebLinkBox);
    ASSERT_TRUE(emptyView.PressOk());
    EXPECT_FALSE(empty.Result().Enable);
}

}  // namespace
}  // namespace tessera
