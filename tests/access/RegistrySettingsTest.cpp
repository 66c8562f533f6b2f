#include "access/RegistrySettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/ScopedEnvironment.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

class RegistrySettingsTest : public testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", (host.folder / "home").c_str());
        env.Set("XDG_CONFIG_HOME", (host.folder / "config").c_str());
        env.Set("XDG_DOCUMENTS_DIR", nullptr);
    }
    host::RegistryServices& Registry() { return *host.runtime.Services().registry; }
    void Store(const std::string& name, host::RegistryData data) { Registry().WriteSection("Tessera\\SplitSettings", {{name, data}}); }

    test::TestHost host;
    test::ScopedEnvironment env;
};

TEST_F(RegistrySettingsTest, FirstRunGivesInitialValues) {
    SplitSettings s;
    s.SplitMode = SplitMethod::EqualPages;
    s.Output.NumEqualPages = 9;
    LoadSettingsFromRegistry(s);
    EXPECT_EQ(s.SplitMode, SplitMethod::ManualRanges);
    EXPECT_EQ(s.Output.NumEqualPages, 1);
    EXPECT_EQ(s.Output.StartBookmarkLevel, 1);
    EXPECT_EQ(s.Output.EndBookmarkLevel, 1);
    EXPECT_EQ(s.Output.SeparatorType, SeparatorKind::BlankPage);
    EXPECT_EQ(s.Output.BlankPageThreshold, 40);
    EXPECT_EQ(s.Filename.OutputBaseFilename, "Doc");
    EXPECT_EQ(s.Filename.FileNameAutoPrefix, AutoPrefix::PrefixFilename);
    EXPECT_EQ(s.Security.PermissionBits(), -1);
    EXPECT_TRUE(s.Security.Password.empty());
    // No ~/Documents in the test home: the home folder itself.
    EXPECT_EQ(s.Filename.OutputFolder, host.folder / "home/");
}

TEST_F(RegistrySettingsTest, RoundTripKeepsEveryStoredField) {
    SplitSettings s;
    s.SplitMode = SplitMethod::SeparatorPages;
    s.Output.bLinearize = true;
    s.Output.NumEqualPages = 12;
    s.Output.SeparatorQuery.Pattern = "Chapter \"1\" \\ end";
    s.Output.SeparatorQuery.AreaLeft = Fixed16::FromRaw(-72 * 65536);
    s.Output.SeparatorQuery.UseAreaFilter = true;
    s.Security.Password = "pw";
    s.Security.bSecurityCanPrint = false;
    s.Filename.OutputFolder = "/srv/out/";
    s.Filename.OutputBaseFilename = "Part";
    s.Filename.TextAreaBottom = Fixed16::FromRaw(123456);
    s.Filename.CreateFoldersForBookmarks = true;
    SaveSettingsToRegistry(s);
    SplitSettings loaded;
    LoadSettingsFromRegistry(loaded);
    EXPECT_EQ(loaded, s);
}

TEST_F(RegistrySettingsTest, StoredValuesAreReadAsTheRegistryWouldGiveThem) {
    Store("bLinearize", std::uint32_t{5});
    Store("bRemovePageLabels", std::uint32_t{0xffffffff});
    Store("SplitMode", std::uint32_t{7});
    Store("NumEqualPages", std::string("12"));  // wrong type: default
    Store("OutputFolder", std::string(""));
    SplitSettings s;
    LoadSettingsFromRegistry(s);
    EXPECT_TRUE(s.Output.bLinearize);
    EXPECT_TRUE(s.Output.bRemovePageLabels);
    EXPECT_EQ(s.SplitMode, static_cast<SplitMethod>(7));
    EXPECT_EQ(s.Output.NumEqualPages, 1);
    EXPECT_EQ(s.Filename.OutputFolder, DefaultOutputFolder());
}

TEST_F(RegistrySettingsTest, MissingFolderIsKeptAndDamagedFileReadsAsDefaults) {
    Store("OutputFolder", std::string("/no/such/folder/"));
    SplitSettings s;
    LoadSettingsFromRegistry(s);
    EXPECT_EQ(s.Filename.OutputFolder, "/no/such/folder/");

    std::ofstream(host.folder / "config/Moraine/Tessera.conf") << "\x01garbage\n[SplitSettings]\n\"NumEqualPages\"=dword:zz\n";
    SplitSettings damaged;
    LoadSettingsFromRegistry(damaged);
    EXPECT_EQ(damaged.Output.NumEqualPages, 1);
}

TEST_F(RegistrySettingsTest, SaveWritesValuesInStoredOrderAndKeepsOtherSections) {
    Registry().WriteSection("Tessera\\TextFromPage", {{"Units", std::uint32_t{2}}});
    SaveSettingsToRegistry(SplitSettings{});
    const host::RegistrySection section = Registry().ReadSection("Tessera\\SplitSettings");
    ASSERT_GE(section.Values().size(), 5u);
    EXPECT_EQ(section.Values()[0].name, "NumEqualPages");
    EXPECT_EQ(section.Values()[5].name, "TextSeparatorPattern");
    EXPECT_EQ(section.Values().back().name, "TextAreaBottom");
    EXPECT_EQ(Registry().ReadSection("Tessera\\TextFromPage").Dword("Units"), 2u);
}

TEST_F(RegistrySettingsTest, DocumentsFolderWhenItExists) {
    std::filesystem::create_directories(host.folder / "home/Documents");
    EXPECT_EQ(DefaultOutputFolder(), host.folder / "home/Documents/");
    env.Set("XDG_DOCUMENTS_DIR", host.folder.Path().c_str());
    EXPECT_EQ(DefaultOutputFolder(), host.folder.Path() + "/");
}

}  // namespace
}  // namespace tessera
