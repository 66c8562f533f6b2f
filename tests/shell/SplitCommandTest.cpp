// The split command as the viewer runs it: what the user is shown (the
// shipped texts), the run's outcome, and what stays on disk.

#include "shell/SplitCommand.h"
#include "support/FaultyDocuments.h"
#include "support/Files.h"
#include "support/PdfFixture.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

using host::RunOutcome;
using Op = test::FaultyDocuments::Operation;

constexpr const char* kHostText = "<host's text>";
constexpr const char* kNotFinished = "could not be finished and saved";
constexpr const char* kCannotSplit = "could not be split with these settings";
constexpr const char* kEncrypted = "encrypted-aes256-no-extract-no-print-owner-master.pdf";

// The host with the shipped language files, splitting into out/ without prefix.
struct Command {
    Command() { LoadLanguageTables(std::string(TESSERA_SOURCE_DIR) + "/lang/"); }
    // Opens a fixture of that many pages, or a file of tests/data.
    void Open(const std::string& source, const std::string& password = "") {
        if (!std::isdigit(static_cast<unsigned char>(source[0]))) return (void)host.OpenActive(source, password);
        test::PdfFixture(std::stoi(source)).Write(host.folder / (source + ".pdf"));
        host.OpenActive(host.folder / (source + ".pdf"));
    }
    void Options(std::vector<host::OptionValue> values, bool reset = true) {
        values.insert(values.begin(), {{"output-folder", host.folder / "out"}, {"prefix", "none"}});
        host.commandLine.SetValues(values);
        host.commandLine.SetReset(reset);
        std::filesystem::create_directories(host.folder / "out");
    }
    std::vector<std::string> Written() { return test::FilesBelow(host.folder / "out"); }

    test::ScopedLanguageTable table;
    test::TestHost host;
};

TEST(SplitCommandTest, EachRefusalOrFailureSaysWhyAndKeepsWhatWasWritten) {
    using enum RunOutcome;
    using Says = std::vector<std::string>;  // alerts, questions, the outcome's message; kHostText: the injected error's
    const Says notSaved = {kHostText, kNotFinished, kCannotSplit}, notMade = {kHostText, kCannotSplit};
    const std::vector<host::OptionValue> each = {{"equal", "1"}};
    const struct Case {
        const char* name;
        const char* source;  // a page count, a file of tests/data, or nullptr: no document
        std::vector<host::OptionValue> options;
        Says says;
        RunOutcome outcome;
        std::size_t files = 0;  // outputs on disk after the run
        std::optional<Op> fault = std::nullopt;
        int nth = 0;
        const char* password = "";
        short viewer = 6;
    } cases[] = {
        {"two pages, one per output", "2", each, {"The split is done: 2 output documents were written."}, Done, 2},
        {"no active document", nullptr, {}, {"fewer than 2 pages"}, Refused},
        {"one page", "1", each, {"fewer than 2 pages"}, Refused},
        {"an old viewer", "2", each, {"too old for Tessera"}, Refused, 0, {}, 0, "", 4},
        {"no extract permission", kEncrypted, {{"equal", "10"}}, {"do not allow its pages to be extracted"}, Refused},
        {"no extract permission but the owner password",
         kEncrypted,
         {{"equal", "10"}},
         {"output documents were written"},
         Done,
         3,
         {},
         0,
         "master"},
        {"no output documents", "3", {}, {"There are no output documents"}, UsageError},
        {"a bad option", "3", {{"bookmarks", "2-x"}}, {"\"x\""}, UsageError},
        {"a folder to make, declined",
         "3",
         {{"equal", "1"}, {"output-folder", "/nonexistent/tessera-out"}},
         {"does not exist. Do you want the folder to be created?"},
         Cancelled},
        {"save of the first output", "4", each, notSaved, Failed, 0, Op::Save, 1},
        {"save of a later output keeps the earlier files", "4", each, notSaved, Failed, 2, Op::Save, 3},
        {"security", "4", {{"equal", "1"}, {"open-password", "pw"}}, notSaved, Failed, 1, Op::SetSecurity, 2},
        {"placeholder removal", "4", each, notSaved, Failed, 0, Op::DeletePage, 1},
        {"placeholder page acquired from the source", "4", each, notMade, Failed, 1, Op::MediaBox, 2},
        {"page insertion", "4", each, notMade, Failed, 0, Op::InsertPages, 1},
        {"label removal", "4", {{"equal", "1"}, {"remove-labels", "1"}}, notMade, Failed, 0, Op::RemovePageLabels, 1},
        {"planning reads the source", "4", each, notMade, Failed, 0, Op::Flags, 1},
        {"no new document: the insertion fails silently", "4", each, {kCannotSplit}, Failed, 0, Op::NewDocument, 1},
        {"an unreadable information value counts as none",
         "4",
         each,
         {"4 output documents were written"},
         Done,
         4,
         Op::InfoValue,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Command command;
        test::TestHost& host = command.host;
        if (c.source) command.Open(c.source, c.password);
        host.viewer.version = {c.viewer, 0};
        command.Options(c.options);
        std::optional<test::FaultyDocuments> faulty;
        if (c.fault) faulty.emplace(host.runtime.Services(), *c.fault, c.nth);
        SplitCommand();

        std::vector<std::string> shown = host.viewer.alerts;
        shown.insert(shown.end(), host.windows.questions.begin(), host.windows.questions.end());
        if (!host.commandLine.OutcomeMessage().empty()) shown.push_back(host.commandLine.OutcomeMessage());
        ASSERT_EQ(shown.size(), c.says.size()) << testing::PrintToString(shown);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::string says =
                c.says[i] == kHostText ? test::FaultyDocuments::FaultText(*c.fault, c.nth) : c.says[i];
            EXPECT_NE(shown[i].find(says), std::string::npos) << shown[i];
        }
        EXPECT_EQ(host.commandLine.Outcome(), c.outcome);
        EXPECT_EQ(command.Written().size(), c.files);
    }
}

// The closing message names the folder, the outputs without pages and where
// every page went; each empty output is warned of before.
TEST(SplitCommandTest, ReportAndIndexCountOnlyWrittenOutputs) {
    Command command;
    command.Open("4");
    command.Options({{"doc", "E=1:even"}, {"doc", "W=2"}, {"doc", "F=3:even"}, {"html-index", "1"}});
    SplitCommand();
    const std::string out = command.host.folder / "out";
    EXPECT_EQ(command.host.viewer.alerts,
              (std::vector<std::string>{"DOCE.pdf has no pages and is not written.",
                                        "DOCF.pdf has no pages and is not written.",
                                        "The split is done: 1 output document was written. The outputs are in " + out +
                                            ".\n"
                                            "1 of 4 pages are in the outputs. In no output: pages 1, 3-4. Planned but "
                                            "without pages, so not written: DOCE.pdf, DOCF.pdf."}));
    const std::string index = test::ReadFile(command.host.folder / "out/4_index.htm");
    EXPECT_NE(index.find("W.pdf"), std::string::npos) << index;
    EXPECT_EQ(index.find("E.pdf"), std::string::npos) << "not written, not linked";
}

// Cancel half-way, in order and in workers: never "done", and only the
// outputs said to be written are on disk.
TEST(SplitCommandTest, ACancelledRunSaysWhatWasWrittenAndWhatWasNot) {
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        Command command;
        command.Open("6");
        command.host.viewer.progress.cancelAfter = 1;
        command.Options({{"equal", "2"}, {"update-links", "1"}, {"jobs", jobs}});
        SplitCommand();
        ASSERT_EQ(command.host.viewer.alerts.size(), 1u) << testing::PrintToString(command.host.viewer.alerts);
        EXPECT_EQ(command.host.viewer.alerts[0],
                  "The split was cancelled: 1 of 3 output documents were written into " +
                      (command.host.folder / "out") +
                      "; the later ones were not. Links and bookmarks leading to outputs that were not written "
                      "lead nowhere.");
        EXPECT_EQ(command.host.commandLine.Outcome(), RunOutcome::Cancelled);
        EXPECT_EQ(command.Written(), std::vector<std::string>{"Doc1.pdf"});
    }
}

TEST(SplitCommandTest, RunsAreRepeatableUnlessTheRememberedSettingsAreAskedFor) {
    Command command;
    app::CommandLineFrontEnd& line = command.host.commandLine;
    command.Open("4");
    command.Options({{"equal", "2"}, {"linearize", "1"}, {"prefix", "name"}});
    SplitCommand();
    line.SetValues({});
    line.SetReset(false);
    line.SetDryRun(true);
    SplitCommand();
    EXPECT_EQ(line.Outcome(), RunOutcome::UsageError) << "initial settings: an empty hand-made list";

    line.SetDryRun(false);
    line.SetRemembered(true);
    command.Options({{"equal", "2"}, {"linearize", "1"}, {"prefix", "name"}}, false);
    SplitCommand();
    line.SetValues({});
    line.SetDryRun(true);
    SplitCommand();
    EXPECT_EQ(command.host.plan.str(), "1\t4Doc1.pdf\t1-2\n2\t4Doc2.pdf\t3-4\n")
        << "stored mode, pages per output and prefix";
}

}  // namespace
}  // namespace tessera
