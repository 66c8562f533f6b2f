#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

TEST(AboutDialogTest, ShowsTheProductAndVersion) {
    test::DialogTestHost host;
    AboutDialog dialog;
    MemoryView view(dialog);
    EXPECT_EQ(view.Title(), "About Tessera Plug-in");
    EXPECT_EQ(view.Text(1107), LookupString("IDS_TESSERA_PRO_PLUGIN"));
    EXPECT_EQ(view.Text(1097).rfind("Version ", 0), 0u);
    EXPECT_TRUE(view.PressOk());
}

}  // namespace
}  // namespace tessera
