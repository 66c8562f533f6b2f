// Settings kept between runs: profile files, the remembered settings, and
// the record a run is given.

#include "access/ProfileFile.h"
#include "access/RegistrySettings.h"
#include "support/Files.h"
#include "support/ScopedEnvironment.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

// Settings away from the initial values in each group the remembered settings keep.
SplitSettings Changed() {
    SplitSettings s;
    s.SplitMode = SplitMethod::SeparatorPages;
    s.Output.bLinearize = true;
    s.Output.NumEqualPages = 12;
    s.Output.SeparatorQuery.Pattern = "Chapter \"1\" \\ end";
    s.Output.SeparatorQuery.Area.left = Fixed16::FromRaw(-72 * 65536);
    s.Output.SeparatorQuery.UseAreaFilter = s.Filename.CreateFoldersForBookmarks = true;
    s.Security.Password = "pw";
    s.Security.bSecurityCanPrint = false;
    s.Filename.OutputFolder = "/srv/out/";
    s.Filename.OutputBaseFilename = "Part";
    s.Filename.TextArea.bottom = Fixed16::FromRaw(123456);
    return s;
}

// Every field the remembered settings keep, away from its initial value.
SplitSettings EveryStoredField() {
    SplitSettings s;
    s.SplitMode = SplitMethod::BookmarkLevels;
    OutputSettings& o = s.Output;
    o.bLinearize = o.bRemovePageLabels = o.bTransferBookmarks = o.bUpdateLinks = o.bCreateHTMLIndex = true;
    o.NumEqualPages = 12, o.StartBookmarkLevel = 2, o.EndBookmarkLevel = 5, o.BlankPageThreshold = 70;
    o.SeparatorType = SeparatorKind::BlankImagePage;
    o.SeparatorQuery = {"Chapter \"1\" \\ end",
                        true,
                        true,
                        true,
                        true,
                        true,
                        Fixed16::FromRaw(-72 * 65536),
                        Fixed16::FromRaw(3),
                        Fixed16::FromRaw(600 * 65536 + 1),
                        Fixed16::FromRaw(800 * 65536)};
    s.Security = {true, "pw", "owner", false, false, false, false, true};
    s.Filename = {"/srv/out/",
                  "Part",
                  NameConstructionMode::AddPageLabel,
                  AutoPrefix::PrefixNone,
                  true,
                  Fixed16::FromRaw(1),
                  Fixed16::FromRaw(2),
                  Fixed16::FromRaw(300 * 65536),
                  Fixed16::FromRaw(123456)};
    return s;
}

class ProfileFileTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(host.folder / name, std::ios::binary) << bytes;
        return host.folder / name;
    }

    test::TestHost host;
    test::ScopedLanguageTable language{"IDS_ERROR_READING_PROFILE=Not read.", "IDS_ERROR_SAVING_PROFILE=Not saved."};
};

TEST_F(ProfileFileTest, SavedProfileLoadsBackReadableByItsOwnerOnlyAndAFailedSaveKeepsIt) {
    SplitSettings saved;
    saved.SplitMode = SplitMethod::BookmarkLevels;
    saved.Security.Password = "pw";
    saved.Outputs = {OutputDocument{{MakePageRange(1, 3, PageRangeFlag::ReverseOrder)}, "Part"}};
    const std::string path = host.folder / "p.tpr";
    ASSERT_TRUE(static_cast<bool>(SaveProfileFile(path, saved)));
    SplitSettings loaded;
    ASSERT_TRUE(static_cast<bool>(LoadProfileFile(path, loaded)));
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(test::NamesIn(host.folder.Path()), std::vector<std::string>{"p.tpr"}) << "no temporary file is left";
    EXPECT_EQ(test::ModeOf(path), 0600u) << "it holds a password";

    const std::string before = test::ReadFile(path);
    saved.Filename.OutputBaseFilename = "caf\xe9";  // not UTF-8: no text of a profile
    const std::string failure = SaveProfileFile(path, saved).Reason();
    EXPECT_EQ(failure.rfind("Not saved. (", 0), 0u) << failure;
    EXPECT_NE(failure.find("UTF-8"), std::string::npos) << failure;
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_FALSE(SaveProfileFile(host.folder / "no/such/folder.tpr", SplitSettings{}));
}

// Whatever is wrong, the record stays as it was and the message says why.
TEST_F(ProfileFileTest, RefusalsNameTheFileAndTheReasonAndLeaveTheRecordAlone) {
    const std::string big = host.folder / "big.tpr";
    std::ofstream(big) << "{}";
    std::filesystem::resize_file(big, (32u << 20) + 1);
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {host.folder / "missing.tpr", "No such file"},
        {host.folder.Path(), "directory"},
        {big, "larger than"},
        {Write("truncated.tpr", R"({"SplitMode": 1, "Settings": {)"), "not a Tessera cabinet"},
        {Write("latin1.tpr", "{\"SplitMode\": 1, \"Settings\": {\"x\": \"caf\xe9\"}}"), "not a Tessera cabinet"},
        {Write("typed.tpr", R"({"SplitMode": 1, "Settings": {"SecuritySettings": {"CanCopy": 1}}})"),
         "\"Settings/SecuritySettings/CanCopy\" holds an integer, not a boolean"},
        {Write("doc.tpr", R"({"SplitMode": 0, "Settings": {}, "NumOutputFiles": 1})"), "\"Doc0\" is missing"},
        {Write("ocr.tpr", R"({"SplitMode": 0, "Settings": {"SecuritySettings": {}, "FilenameSettings": {},
                     "OutputSettings": {"OcrLanguages": "eng+../x"}}})"),
         "\"Settings/OutputSettings/OcrLanguages\""},
        {Write("layer.tpr", R"({"SplitMode": 0, "Settings": {"SecuritySettings": {}, "FilenameSettings": {},
                     "OutputSettings": {"OcrMode": 2, "OcrLayer": true}}})"),
         "\"Settings/OutputSettings/OcrLayer\""},
    };
    SplitSettings initial;
    initial.Output.NumEqualPages = 7;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SplitSettings s = initial;
        const std::string failure = LoadProfileFile(c.path, s).Reason();
        EXPECT_EQ(failure.rfind("Not read. (", 0), 0u) << failure;
        EXPECT_NE(failure.find(c.reason), std::string::npos) << failure;
        EXPECT_NE(failure.find(c.path), std::string::npos) << failure;
        EXPECT_EQ(s, initial) << failure;
    }
}

class RegistrySettingsTest : public testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", (host.folder / "home").c_str());
        env.Set("XDG_CONFIG_HOME", (host.folder / "config").c_str());
        env.Set("XDG_DOCUMENTS_DIR", nullptr);
    }
    host::RegistryServices& Registry() { return *host.runtime.Services().registry; }

    test::TestHost host;
    test::ScopedEnvironment env;
};

TEST_F(RegistrySettingsTest, StoredValuesAreReadAsTheRegistryWouldGiveThemAndRoundTrip) {
    SplitSettings first;
    first.Output.NumEqualPages = 9;
    LoadSettingsFromRegistry(first);
    EXPECT_EQ(first.Output.NumEqualPages, 1) << "nothing stored: initial values";
    EXPECT_EQ(first.Filename.OutputFolder, host.folder / "home/") << "no ~/Documents: the home folder";

    Registry().WriteSection("Tessera\\SplitSettings", {{"bLinearize", std::uint32_t{5}},
                                                       {"SplitMode", std::uint32_t{7}},
                                                       {"bRemovePageLabels", std::uint32_t{0xffffffff}},
                                                       {"NumEqualPages", std::string("12")},
                                                       {"OutputFolder", std::string()}});
    SplitSettings s;
    LoadSettingsFromRegistry(s);
    EXPECT_TRUE(s.Output.bLinearize);
    EXPECT_TRUE(s.Output.bRemovePageLabels);
    EXPECT_EQ(s.SplitMode, static_cast<SplitMethod>(7));
    EXPECT_EQ(s.Output.NumEqualPages, 1) << "a text where a number belongs";
    EXPECT_EQ(s.Filename.OutputFolder, DefaultOutputFolder());

    Registry().WriteSection("Tessera\\SplitSettings", {{"OutputFolder", std::string("/no/such/folder/")}});
    LoadSettingsFromRegistry(s);
    EXPECT_EQ(s.Filename.OutputFolder, "/no/such/folder/") << "a folder that went missing is kept";

    std::ofstream(host.folder / "config/Moraine/Tessera.conf")
        << "\x01garbage\n[SplitSettings]\n\"NumEqualPages\"=dword:zz\n";
    SplitSettings damaged;
    LoadSettingsFromRegistry(damaged);
    EXPECT_EQ(damaged.Output.NumEqualPages, 1);

    std::filesystem::create_directories(host.folder / "home/Documents");
    EXPECT_EQ(DefaultOutputFolder(), host.folder / "home/Documents/");
    env.Set("XDG_DOCUMENTS_DIR", host.folder.Path().c_str());
    EXPECT_EQ(DefaultOutputFolder(), host.folder.Path() + "/");

    // Every stored field comes back, and other sections stay.
    Registry().WriteSection("Tessera\\TextFromPage", {{"Units", std::uint32_t{2}}});
    SaveSettingsToRegistry(Changed());
    SplitSettings loaded;
    LoadSettingsFromRegistry(loaded);
    EXPECT_EQ(loaded, Changed());
    EXPECT_EQ(Registry().ReadSection("Tessera\\TextFromPage").Dword("Units"), 2u);
}

// The file was written before the settings fields became one table: it loads
// to the same record and is written back byte for byte.
TEST_F(RegistrySettingsTest, RememberedSettingsFileLoadsAndSavesUnchanged) {
    const std::filesystem::path stored = host.folder / "config/Moraine/Tessera.conf";
    std::filesystem::create_directories(stored.parent_path());
    const std::string golden = test::ReadFile(test::DataFile("settings-remembered.conf"));
    std::ofstream(stored, std::ios::binary) << golden;
    SplitSettings loaded;
    LoadSettingsFromRegistry(loaded);
    EXPECT_EQ(loaded, EveryStoredField());
    std::filesystem::remove(stored);
    SaveSettingsToRegistry(loaded);
    EXPECT_EQ(test::ReadFile(stored), golden);
}

// Outputs are secured only with a password or restrictions; the record a run is given trims passwords.
TEST(SplitSettingsTest, SecurityNeedAndTheRunRecord) {
    const auto needs = [](bool protect, const char* password, bool canCopy) {
        SecuritySettings s;
        s.AllowAll = false, s.bPaswordProtect = protect, s.Password = password, s.bSecurityCanCopy = canCopy;
        return s.NeedsSecurity();
    };
    EXPECT_FALSE(needs(true, "", true)) << "protection on but no password, nothing denied";
    EXPECT_FALSE(needs(false, "secret", true)) << "a password typed with protection off";
    EXPECT_TRUE(needs(true, "secret", true));
    EXPECT_TRUE(needs(false, "", false)) << "restrictions alone";

    SplitSettings working;
    working.Security.Password = "  open sesame \t", working.Security.PermPassword = " perm ";
    working.Filename.StartingNumber = 7, working.Filename.NumPadWithZeroes = 3;
    const SplitSettings run = SettingsForRun(working);
    EXPECT_EQ(run.Security.Password, "open sesame");
    EXPECT_EQ(run.Security.PermPassword, "perm");
    EXPECT_FALSE(run.Security.AllowAll) << "the single permissions apply";
    EXPECT_EQ(std::pair(run.Filename.StartingNumber, run.Filename.NumPadWithZeroes), std::pair(1, 0)) << "not stored";
}

}  // namespace
}  // namespace tessera
