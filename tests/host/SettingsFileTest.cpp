#include "settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/UserFolders.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace tessera::settings {
namespace {

const std::string kKey = "Tessera\\SplitSettings";

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

TEST(SettingsFileTest, OnlyTheOwnerCanReadTheStoredPasswords) {
    test::TempFolder temp;
    SettingsFile file(temp / "config/Moraine");
    file.WriteSection(kKey, {{"Password", std::string("secret")}});
    EXPECT_EQ(ModeOf(temp / "config/Moraine"), 0700u);
    EXPECT_EQ(ModeOf(file.FileOf(kKey)), 0600u);

    ::chmod(file.FileOf(kKey).c_str(), 0644);  // as an older version left it
    file.ReadSection(kKey);
    EXPECT_EQ(ModeOf(file.FileOf(kKey)), 0600u);
}

TEST(SettingsFileTest, OnlyWhatIsOursIsTightenedAndNothingIsReadOrWrittenThroughWhatWasThere) {
    test::TempFolder temp;
    const std::string folder = temp / "Moraine";
    SettingsFile file(folder);
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0777);  // as a careless umask left it
    std::ofstream(temp / "elsewhere") << "someone's file";
    ::chmod((temp / "elsewhere").c_str(), 0644);
    std::filesystem::create_symlink(temp / "elsewhere", file.FileOf(kKey));
    // The temporary name an older version used, taken in advance.
    std::filesystem::create_symlink(temp / "elsewhere", file.FileOf(kKey) + ".tmp" + std::to_string(::getpid()));
    file.ReadSection(kKey);
    file.WriteSection(kKey, {{"Password", std::string("secret")}});
    EXPECT_EQ(ModeOf(temp / "elsewhere"), 0644u) << "a link's target is not ours";
    EXPECT_EQ(ModeOf(folder), 0700u);
    std::ifstream in(temp / "elsewhere");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "someone's file");
    EXPECT_EQ(file.ReadSection(kKey).Text("Password"), "secret");

    std::filesystem::remove(file.FileOf(kKey));
    std::filesystem::create_symlink("/dev/zero", file.FileOf(kKey));
    EXPECT_TRUE(file.ReadSection(kKey).Values().empty()) << "a device reads as the defaults, at once";
}

TEST(SettingsFileTest, TextsRoundTripWithLineBreaksQuotesAndBackslashes) {
    test::TempFolder temp;
    SettingsFile file(temp.Path());
    const std::string text = "line one\nline \"two\"\r\n\\n is not a break";
    file.WriteSection(kKey, {{"TextSeparatorPattern", text}, {"NumEqualPages", std::uint32_t{3}}});
    const host::RegistrySection section = file.ReadSection(kKey);
    EXPECT_EQ(section.Text("TextSeparatorPattern"), text);
    EXPECT_EQ(section.Dword("NumEqualPages"), 3u) << "the next value is still read";
}

TEST(SettingsFileTest, WithoutAHomeNothingIsStored) {
    SettingsFile none("");
    none.WriteSection(kKey, {{"Password", std::string("secret")}});
    EXPECT_TRUE(none.ReadSection(kKey).Values().empty());

    test::ScopedEnvironment env;
    env.Set("HOME", nullptr);
    env.Set("XDG_CONFIG_HOME", nullptr);
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(SettingsFile::DefaultFolder(), std::string(entry->pw_dir) + "/.config/Moraine")
        << "the home folder comes from the password database, never a shared folder";
}

TEST(UserFoldersTest, DocumentsFolderComesFromUserDirsAsTheDesktopFindsIt) {
    EXPECT_EQ(DocumentsDirOf("# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n",
                             "/home/me"),
              "/home/me/My \"Docs\"");
    EXPECT_EQ(DocumentsDirOf("XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/home/me"), "/srv/docs");
    EXPECT_EQ(DocumentsDirOf("XDG_MUSIC_DIR=\"$HOME/Music\"\n", "/home/me"), std::nullopt);

    test::TempFolder temp;
    std::filesystem::create_directories(temp / "home/Dokumente");
    std::filesystem::create_directories(temp / "elsewhere");
    std::ofstream(temp / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    test::ScopedEnvironment env;
    env.Set("HOME", (temp / "home").c_str());
    env.Set("XDG_CONFIG_HOME", temp.Path().c_str());
    env.Set("XDG_DOCUMENTS_DIR", (temp / "elsewhere").c_str());
    EXPECT_EQ(DocumentsFolder(), temp / "home/Dokumente") << "the file wins, as when xdg-user-dir reads it";
    std::filesystem::remove(temp / "user-dirs.dirs");
    EXPECT_EQ(DocumentsFolder(), temp / "elsewhere");
}

}  // namespace
}  // namespace tessera::settings
