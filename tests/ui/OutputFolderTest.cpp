#include "ui/OutputFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestHost.h"

namespace tessera {
namespace {

struct FolderCase {
    const char* path;
    int result;
};

class ValidateFolderPathTest : public testing::TestWithParam<FolderCase> {
protected:
    test::TestHost host;
};

TEST_P(ValidateFolderPathTest, ChecksEveryNameAfterTheRoot) {
    EXPECT_EQ(ValidateFolderPath(GetParam().path, true), GetParam().result) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Cases, ValidateFolderPathTest,
                         testing::Values(FolderCase{"/", FolderValid}, FolderCase{"/home/me/out", FolderValid},
                                         FolderCase{"/home/me/out.v2", FolderValid}, FolderCase{"", FolderInvalid},
                                         FolderCase{"relative/out", FolderInvalid},
                                         FolderCase{"/home/me/", FolderInvalid}, FolderCase{"//server/share", FolderInvalid},
                                         FolderCase{"/home//me", FolderInvalid}, FolderCase{"/home/ me", FolderInvalid},
                                         FolderCase{"/home/me.", FolderInvalid}, FolderCase{"/home/a:b", FolderInvalid},
                                         FolderCase{"/home/a\\b", FolderInvalid}));

TEST(ExistingFolderTest, ExistingFoldersAreTakenAsTheyAreAndOnlyNewOnesFollowTheNameRule) {
    test::TestHost host;
    std::filesystem::create_directories(host.folder / ".cache/a:b");
    EXPECT_EQ(ValidateFolderPath(host.folder / ".cache/a:b", true), FolderValid);
    EXPECT_EQ(ValidateFolderPath(host.folder / ".cache/a:b/out", true), FolderValid);
    EXPECT_EQ(ValidateFolderPath(host.folder / ".cache/x:y/out", true), FolderInvalid) << "still to be made";
    EXPECT_EQ(ValidateFolderPath(host.folder / ".cache//out", true), FolderInvalid);
    EXPECT_EQ(ValidateFolderPath(host.folder / ".cache/", true), FolderInvalid);
}

TEST(IsValidFolderNameTest, Rules) {
    EXPECT_TRUE(IsValidFolderName("Reports 2026"));
    EXPECT_TRUE(IsValidFolderName("a.b"));
    for (const char* bad : {"", " a", "a ", "\ta", ".a", "a.", "a*b", "a?b", "a<b", "a>b", "a|b", "a\"b", "a/b"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
}

TEST(ConfirmOutputFolderTest, AsksBeforeCreatingAndCreatesNothingOnNo) {
    test::TestHost host;
    const std::string folder = host.folder / "new/deeper";
    EXPECT_EQ(ConfirmOutputFolder(folder), -1);
    ASSERT_EQ(host.windows.questions.size(), 1u);
    EXPECT_NE(host.windows.questions[0].find("does not exist"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(host.folder / "new"));

    host.windows.answer = true;
    EXPECT_EQ(ConfirmOutputFolder(folder), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ConfirmOutputFolder(folder), 0) << "an existing folder is fine";
    EXPECT_EQ(host.windows.questions.size(), 2u);

    EXPECT_EQ(ConfirmOutputFolder(host.folder / "bad "), 1);
    ASSERT_EQ(host.windows.messages.size(), 1u);
    EXPECT_NE(host.windows.messages[0].find("is invalid. Please reenter."), std::string::npos);
}

TEST(ConfirmOutputFolderTest, SaysWhyAFolderCannotBeCreated) {
    test::TestHost host;
    host.windows.answer = true;
    std::ofstream(host.folder / "file") << "not a folder";
    EXPECT_EQ(ConfirmOutputFolder(host.folder / "file"), FolderNotCreated);
    EXPECT_EQ(ConfirmOutputFolder(host.folder / "file/out"), FolderNotCreated);
    ASSERT_EQ(host.windows.messages.size(), 2u);
    for (const std::string& message : host.windows.messages) {
        EXPECT_NE(message.find("can not be created"), std::string::npos) << message;
        EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace tessera
