#include "ui/BlankImageSettingsDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

TEST(BlankImageSettingsDialogTest, ClampsOpensAndResets) {
    for (const auto& [stored, shown] : {std::pair{5, 10}, {95, 80}, {40, 40}}) {
        BlankImageSettingsDialog dialog(stored);
        MemoryView view(dialog);
        EXPECT_EQ(view.SliderValue(1108), shown) << stored;
    }
    BlankImageSettingsDialog dialog(70);
    MemoryView view(dialog);
    view.Click(1109);
    EXPECT_EQ(view.SliderValue(1108), 40);
    view.Slide(1108, 25);
    ASSERT_TRUE(view.PressOk());
    EXPECT_EQ(dialog.Result(), 25);
}

}  // namespace
}  // namespace tessera
