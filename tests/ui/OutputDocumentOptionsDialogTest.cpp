#include "ui/OutputDocumentOptionsDialog.h"

#include <gtest/gtest.h>

#include "ui/DialogTestHost.h"
#include "ui/MemoryView.h"

namespace tessera {
namespace {

constexpr ControlId kAutomatic = 1111, kCustom = 1112, kName = 1113;

struct NameCase {
    ControlId radio;
    std::string name;
    const char* alertKey;  // none when accepted
};

class CustomNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(CustomNameTest, ChecksTheNameOnlyWhenItIsUsed) {
    test::DialogTestHost host;
    OutputDocumentOptionsDialog dialog(true, "Old");
    MemoryView view(dialog);
    view.Type(kName, GetParam().name);
    view.Click(GetParam().radio);
    const bool accepted = GetParam().alertKey == nullptr;
    EXPECT_EQ(view.PressOk(), accepted);
    EXPECT_EQ(host.TakeAlerts(), accepted ? std::vector<std::string>{} : host.Texts({GetParam().alertKey}));
    if (accepted) {
        EXPECT_EQ(dialog.CustomName(), GetParam().radio == kCustom);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CustomNameTest,
    testing::Values(NameCase{kCustom, "Part 2_final", nullptr}, NameCase{kCustom, std::string(256, 'a'), nullptr},
                    NameCase{kCustom, std::string(257, 'a'), "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
                    NameCase{kCustom, "Part-1", nullptr}, NameCase{kCustom, "Résumé", nullptr},
                    NameCase{kCustom, std::string(192, 'e') + "\u00e9" + std::string(63, 'e'), nullptr},
                    NameCase{kCustom, "part/2", "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
                    NameCase{kCustom, "part.2", "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY"},
                    NameCase{kCustom, "", "IDS_FILENAME_CANT_BE_EMPTY"}, NameCase{kAutomatic, "part.2", nullptr}));

TEST(OutputDocumentOptionsDialogTest, AnEmptyCustomNameOpensAutomatic) {
    OutputDocumentOptionsDialog dialog(true, "");
    MemoryView view(dialog);
    EXPECT_TRUE(view.Checked(kAutomatic));
    EXPECT_FALSE(view.Enabled(kName));
    view.Click(kCustom);
    EXPECT_TRUE(view.Enabled(kName));
}

}  // namespace
}  // namespace tessera
