#include "access/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

class ProfileFileTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(host.folder / name, std::ios::binary) << bytes;
        return host.folder / name;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    test::TestHost host;
    test::ScopedLanguageTable language{"IDS_ERROR_READING_PROFILE=Not read.", "IDS_ERROR_SAVING_PROFILE=Not saved."};
};

TEST_F(ProfileFileTest, SavedProfileLoadsBack) {
    SplitSettings saved;
    saved.SplitMode = SplitMethod::BookmarkLevels;
    saved.Security.Password = "pw";
    saved.Outputs = {OutputDocument{{MakePageRange(1, 3, ReverseOrder)}, "Part"}};
    const std::string path = host.folder / "p.tpr";
    ASSERT_EQ(SaveProfileFile(path, saved), std::nullopt);
    SplitSettings loaded;
    ASSERT_EQ(LoadProfileFile(path, loaded), std::nullopt);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(std::filesystem::directory_iterator(host.folder.Path())->path(), path) << "no temporary file is left";
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "it holds a password";
}

// Whatever is wrong, the record stays as it was and the message says why.
TEST_F(ProfileFileTest, RefusalsLeaveTheRecordAlone) {
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
    };
    for (const auto& c : cases) {
        SplitSettings s;
        s.Output.NumEqualPages = 7;
        const std::optional<std::string> failure = LoadProfileFile(c.path, s);
        ASSERT_TRUE(failure) << c.path;
        EXPECT_EQ(failure->rfind("Not read. (", 0), 0u) << *failure;
        EXPECT_NE(failure->find(c.reason), std::string::npos) << *failure;
        EXPECT_NE(failure->find(c.path), std::string::npos) << *failure;
        SplitSettings initial;
        initial.Output.NumEqualPages = 7;
        EXPECT_EQ(s, initial) << *failure;
    }
}

TEST_F(ProfileFileTest, FailedSaveKeepsTheFileThatWasThere) {
    const std::string path = Write("p.tpr", "old");
    SplitSettings s;
    s.Filename.OutputBaseFilename = "caf\xe9";  // not UTF-8: no text of a profile
    const std::optional<std::string> failure = SaveProfileFile(path, s);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rfind("Not saved. (", 0), 0u) << *failure;
    EXPECT_EQ(Read(path), "old");
    EXPECT_TRUE(SaveProfileFile(host.folder / "no/such/folder.tpr", SplitSettings{}));
}

}  // namespace
}  // namespace tessera
