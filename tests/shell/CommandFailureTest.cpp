// Host failures at each step of a split, injected into the real host, with
// what the user sees and what stays on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/SplitCommand.h"
#include "support/FaultyDocuments.h"
#include "support/PdfFixture.h"
#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

using Op = test::FaultyDocuments::Operation;
using host::RunOutcome;

constexpr const char* kHostText = "<host's text>";

struct FailureCase {
    const char* name;
    Op operation;
    int nth;
    std::vector<host::OptionValue> options;
    std::vector<std::string> alerts;  // kHostText stands for the injected error's text
    int files;                        // outputs on disk after the run
    RunOutcome outcome = RunOutcome::Failed;
};

const FailureCase kCases[] = {
    {"save of the first output", Op::Save, 1, {}, {kHostText, "not finished", "cannot split"}, 0},
    {"save of a later output keeps the earlier files", Op::Save, 3, {}, {kHostText, "not finished", "cannot split"}, 2},
    {"security", Op::SetSecurity, 2, {{"open-password", "pw"}}, {kHostText, "not finished", "cannot split"}, 1},
    {"placeholder removal", Op::DeletePage, 1, {}, {kHostText, "not finished", "cannot split"}, 0},
    {"placeholder page acquired from the source", Op::MediaBox, 2, {}, {kHostText, "cannot split"}, 1},
    {"page insertion", Op::InsertPages, 1, {}, {kHostText, "cannot split"}, 0},
    {"page label removal", Op::RemovePageLabels, 1, {{"remove-labels", "1"}}, {kHostText, "cannot split"}, 0},
    {"planning reads the source", Op::Flags, 1, {}, {kHostText, "cannot split"}, 0},
    {"no new document: the first insertion fails silently", Op::NewDocument, 1, {}, {"cannot split"}, 0},
    {"an unreadable information value counts as none", Op::InfoValue, 1, {}, {"4 planned"}, 4, RunOutcome::Done},
};

TEST(CommandFailureTest, EachFailingStepShowsItsMessagesAndKeepsWhatWasWritten) {
    for (const FailureCase& c : kCases) {
        test::TestHost host;
        const test::ScopedLanguageTable table{"IDS_APPLICATION_ERROR_SPLIT_OPERATION_FAILED=not finished",
                                              "IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS=cannot split",
                                              "IDS_SPLIT_FINAL_REPORT=%d planned"};
        test::PdfFixture(4).Write(host.folder / "4.pdf");
        host.OpenActive(host.folder / "4.pdf");
        std::vector<host::OptionValue> options = {
            {"output-folder", host.folder / "out"}, {"equal", "1"}, {"prefix", "none"}};
        options.insert(options.end(), c.options.begin(), c.options.end());
        host.commandLine.SetValues(options);
        host.commandLine.SetReset(true);
        std::filesystem::create_directories(host.folder / "out");

        const test::FaultyDocuments faulty(host.runtime.Services(), c.operation, c.nth);
        SplitCommand();

        std::vector<std::string> expected = c.alerts;
        for (std::string& alert : expected)
            if (alert == kHostText) alert = test::FaultyDocuments::FaultText(c.operation, c.nth);
        EXPECT_EQ(host.viewer.alerts, expected) << c.name;
        EXPECT_EQ(host.commandLine.Outcome(), c.outcome) << c.name;
        const auto files = std::distance(std::filesystem::directory_iterator(host.folder / "out"), {});
        EXPECT_EQ(files, c.files) << c.name;
    }
}

}  // namespace
}  // namespace tessera
