#include "model/SplitSettings.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

SecuritySettings Restricted(bool copy, bool edit, bool notes, bool print) {
    SecuritySettings s;
    s.AllowAll = false;
    s.bSecurityCanCopy = copy;
    s.bSecurityCanEdit = edit;
    s.bSecurityCanEditNotes = notes;
    s.bSecurityCanPrint = print;
    return s;
}

TEST(SplitSettingsTest, PermissionBits) {
    EXPECT_EQ(Restricted(true, true, false, true).PermissionBits(), 28);
    EXPECT_EQ(Restricted(false, false, false, false).PermissionBits(), 0);
    EXPECT_EQ(Restricted(true, true, true, true).PermissionBits(), -1);
    SecuritySettings all = Restricted(false, false, false, false);
    all.AllowAll = true;
    EXPECT_EQ(all.PermissionBits(), -1);
}

TEST(SplitSettingsTest, NeedsSecurity) {
    SecuritySettings s = Restricted(true, true, true, true);
    s.bPaswordProtect = true;
    EXPECT_FALSE(s.NeedsSecurity()) << "protection on but no password";
    s.bPaswordProtect = false;
    s.Password = "secret";
    EXPECT_FALSE(s.NeedsSecurity()) << "a password typed with protection off";
    s.bPaswordProtect = true;
    EXPECT_TRUE(s.NeedsSecurity());
    EXPECT_TRUE(Restricted(false, true, true, true).NeedsSecurity()) << "restrictions alone";
}

TEST(SplitSettingsTest, RunRecordTrimsPasswordsAndResetsStoredOnlyFields) {
    SplitSettings working;
    working.Security.Password = "  open sesame \t";
    working.Security.PermPassword = " perm ";
    working.Filename.StartingNumber = 7;
    working.Filename.NumPadWithZeroes = 3;
    const SplitSettings run = SettingsForRun(working);
    EXPECT_EQ(run.Security.Password, "open sesame");
    EXPECT_EQ(run.Security.PermPassword, "perm");
    EXPECT_FALSE(run.Security.AllowAll);
    EXPECT_EQ(run.Filename.StartingNumber, 1);
    EXPECT_EQ(run.Filename.NumPadWithZeroes, 0);
}

}  // namespace
}  // namespace tessera
