#include "shell/SplitCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "strings/LanguageTable.h"
#include "support/PdfFixture.h"
#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

using host::RunOutcome;

class SplitCommandTest : public testing::Test {
protected:
    test::ScopedLanguageTable table{"IDS_LESS_THAN_2_PAGES=few pages", "IDS_SECURITY_NOT_PERMITING=no extraction",
                                    "IDS_BAD_VIEWER_VERSION=old viewer", "IDS_SPLIT_FINAL_REPORT=%d planned"};

    std::string Fixture(int pages) {
        test::PdfFixture pdf(pages);
        const std::string path = host.folder / (std::to_string(pages) + ".pdf");
        pdf.Write(path);
        return path;
    }
    void Options(std::vector<host::OptionValue> values) {
        values.insert(values.begin(), {"output-folder", host.folder / "out"});
        host.commandLine.SetValues(values);
        host.commandLine.SetReset(true);
        std::filesystem::create_directories(host.folder / "out");
    }
    test::TestHost host;
};

TEST_F(SplitCommandTest, TwoPagesSplitAndReportThePlannedCount) {
    host.OpenActive(Fixture(2));
    Options({{"equal", "1"}, {"prefix", "none"}});
    SplitCommand();
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::Done);
    EXPECT_EQ(host.viewer.alerts, (std::vector<std::string>{"2 planned"}));
    EXPECT_TRUE(std::filesystem::exists(host.folder / "out/Doc2.pdf"));
}

TEST_F(SplitCommandTest, ReportAndIndexCountOnlyWrittenOutputs) {
    for (const char* line : {"IDS_SPLIT_FINAL_REPORT_ONE=1 written.", "IDS_SPLIT_LEFT_OUT=%d left out."})
        TheLanguageTable().LoadPiece(line);
    host.OpenActive(Fixture(4));
    Options({{"doc", "E=1:even"}, {"doc", "W=2"}, {"doc", "F=3:even"}, {"prefix", "none"}, {"html-index", "1"}});
    SplitCommand();
    EXPECT_EQ(host.viewer.alerts, (std::vector<std::string>{"1 written. 2 left out."}));
    std::ifstream in(host.folder / "out/4_index.htm");
    const std::string index((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(index.find("W.pdf"), std::string::npos) << index;
    EXPECT_EQ(index.find("E.pdf"), std::string::npos) << "not written, not linked";
}

TEST_F(SplitCommandTest, RefusesOnePageOldViewersAndNoDocument) {
    SplitCommand();
    EXPECT_EQ(host.viewer.alerts.back(), "few pages") << "no active document";
    host.OpenActive(Fixture(1));
    Options({{"equal", "1"}});
    SplitCommand();
    EXPECT_EQ(host.viewer.alerts.back(), "few pages");
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::Refused);
    host.viewer.version = {4, 0};
    SplitCommand();
    EXPECT_EQ(host.viewer.alerts.back(), "old viewer");
}

TEST_F(SplitCommandTest, EncryptedSourceNeedsTheExtractPermission) {
    host.OpenActive("encrypted-aes256-no-extract-no-print-owner-master.pdf");
    Options({{"equal", "10"}});
    SplitCommand();
    EXPECT_EQ(host.viewer.alerts.back(), "no extraction");
    EXPECT_TRUE(std::filesystem::is_empty(host.folder / "out"));
    host.OpenActive("encrypted-aes256-no-extract-no-print-owner-master.pdf", "master");
    SplitCommand();
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::Done);
}

TEST_F(SplitCommandTest, DeclinedFolderOrBadOptionEndsWithoutWriting) {
    host.OpenActive(Fixture(3));
    Options({{"equal", "1"}, {"output-folder", host.folder / "missing"}});
    SplitCommand();
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::Cancelled);
    EXPECT_EQ(host.windows.questions.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(host.folder / "missing"));
    EXPECT_TRUE(host.viewer.alerts.empty());

    Options({{"bookmarks", "2-x"}});
    SplitCommand();
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::UsageError);
    EXPECT_NE(host.commandLine.OutcomeMessage().find("\"x\""), std::string::npos) << host.commandLine.OutcomeMessage();
}

TEST_F(SplitCommandTest, RunsAreRepeatableUnlessTheRememberedSettingsAreAskedFor) {
    host.OpenActive(Fixture(4));
    Options({{"equal", "2"}, {"linearize", "1"}});
    SplitCommand();
    host.commandLine.SetValues({});
    host.commandLine.SetReset(false);
    host.commandLine.SetDryRun(true);
    SplitCommand();
    EXPECT_EQ(host.commandLine.Outcome(), RunOutcome::UsageError) << "initial settings: an empty hand-made list";

    host.commandLine.SetDryRun(false);
    host.commandLine.SetRemembered(true);
    Options({{"equal", "2"}, {"linearize", "1"}});
    host.commandLine.SetReset(false);
    SplitCommand();
    host.commandLine.SetValues({});
    host.commandLine.SetDryRun(true);
    SplitCommand();
    EXPECT_EQ(host.plan.str(), "1\t4Doc1.pdf\t1-2\n2\t4Doc2.pdf\t3-4\n") << "stored mode, pages per output and prefix";
}

}  // namespace
}  // namespace tessera
