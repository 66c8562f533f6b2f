// The real Tessera.api in the real host's tables, and the split as a command
// of the host's batch sequences.

#include "access/Host.h"
#include "access/ProfileFile.h"
#include "cabinet/JsonCabinetStreams.h"
#include "model/ProfileCabinet.h"
#include "runtime/ModuleLoader.h"
#include "shell/Handshake.h"
#include "shell/PlugInSession.h"
#include "shell/SplitBatchCommand.h"
#include "shell/SplitCommand.h"
#include "strings/LanguageTable.h"
#include "support/CabinetPath.h"
#include "support/Files.h"
#include "support/MemoryView.h"
#include "support/PdfFixture.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

TEST(ModuleLoadingTest, InstallsThreeItemsWithOneTitleAndNameAndTheirCommands) {
    test::TestHost host;
    app::ModuleLoader loader;
    ASSERT_EQ(loader.Load(TESSERA_MODULE_PATH, host.runtime.Core(), host::kHandshakeVersion), std::nullopt);
    for (const char* menu : {"Extensions", "UsingExtensions", "AboutExtensions"}) {
        const auto inMenu = host.viewer.Menus().Items(menu);
        ASSERT_EQ(inMenu.size(), 1u) << menu;
        EXPECT_EQ(inMenu[0]->name + " " + inMenu[0]->title, "KORB:Tessera Split Document...");
    }
    const app::MenuBar::Item& item = *host.viewer.Menus().Items("Extensions")[0];
    EXPECT_FALSE(host.viewer.Menus().IsEnabled(item)) << "no active document";
    host.OpenActive("multicolumn-latex-2col.pdf");
    EXPECT_TRUE(host.viewer.Menus().IsEnabled(item));
    EXPECT_FALSE(host.commandLine.Declared().empty()) << "the split dialog's fields are declared";

    host.windows.openSucceeds = false;  // help that is there but cannot be opened is not called missing
    ASSERT_TRUE(host.viewer.Menus().Execute("UsingExtensions", "KORB:Tessera"));
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_NE(host.viewer.alerts[0].find("no program could open it"), std::string::npos) << host.viewer.alerts[0];
}

TEST(ModuleHandshakeTest, RefusedWithoutARequiredTableOrAtAnotherVersion) {
    const struct {
        const char* name;
        std::function<void(app::CoreTables&)> offer;
        std::uint32_t version;
        bool loads;
        const char* says;
    } cases[] = {
        {"a required table below version 5", [](app::CoreTables& core) { core.Offer("PDSRead", 0x40005, &core); },
         host::kHandshakeVersion, false, "handshake"},
        {"another handshake version", [](app::CoreTables&) {}, 0x10000, false, ""},
        {"without the optional tables",
         [](app::CoreTables& core) {
             for (const char* name : {"ASExtra", "AcroViewSweetPea", "PDMetadata"}) core.Withdraw(name);
         },
         host::kHandshakeVersion, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestHost host;
        c.offer(host.runtime.Core());
        app::ModuleLoader loader;
        const std::optional<std::string> failure = loader.Load(TESSERA_MODULE_PATH, host.runtime.Core(), c.version);
        EXPECT_EQ(!failure, c.loads) << failure.value_or("");
        EXPECT_NE(failure.value_or("").find(c.says), std::string::npos) << failure.value_or("");
        EXPECT_EQ(host.viewer.Menus().Items("Extensions").empty(), !c.loads);
    }
}

using host::Cabinet;
using host::CommandStatus;

// Windows whose dialogs the test answers in memory, as a user would in the window.
class MemoryWindows : public WindowFactory {
public:
    explicit MemoryWindows(std::function<bool(Dialog&)> answer) : answer_(std::move(answer)) {}
    bool RunModal(Dialog& dialog) override { return answer_(dialog); }
    bool SaveImage(Dialog&, const std::string&) override { return false; }

private:
    std::function<bool(Dialog&)> answer_;
};

class SplitBatchCommandTest : public testing::Test {
protected:
    SplitBatchCommandTest() { InstallBatchCommand(); }
    ~SplitBatchCommandTest() override {
        RemoveBatchCommand();
        HandWindows(nullptr);
    }
    host::CommandId NewCommand() { return batch.NewCommand(kSplitCommandName); }

    test::TestHost host;
    app::CommandRegistry& batch = host.runtime.Batch();
    const host::CommandHandler& handler = SplitBatchHandler();
};

// The keys of a cabinet and of the cabinets inside it, as paths.
std::vector<std::string> KeyPaths(const Cabinet& cabinet, const std::string& prefix = "") {
    std::vector<std::string> paths;
    for (const auto& [key, value] : cabinet.Entries()) {
        paths.push_back(prefix + key);
        if (const auto* box = std::get_if<host::CabinetBox>(&value)) {
            const auto inner = KeyPaths(box->Get(), prefix + key + "/");
            paths.insert(paths.end(), inner.begin(), inner.end());
        }
    }
    return paths;
}

TEST_F(SplitBatchCommandTest, PropertiesParametersAndDialogAnswerAsTheHostAsks) {
    const host::CommandId command = NewCommand();
    Cabinet all;
    handler.getProperties(command, all);
    const std::vector<std::string> keys = KeyPaths(all);
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()),
              (std::set<std::string>{"GroupTitle", "CanBatch", "CanDescribeParams", "CanShowDialog", "GenericTitle",
                                     "Title", "ParamsDesc"}));
    Cabinet titleOnly;
    titleOnly.Put("Title", std::string("?"));
    handler.getProperties(command, titleOnly);
    EXPECT_EQ(KeyPaths(titleOnly), std::vector<std::string>{"Title"});
    EXPECT_EQ(titleOnly.Get<std::string>("Title"), "Split Document");

    // A sequence saved with only a split mode still yields every key.
    Cabinet partial;
    partial.Put("SplitMode", std::int32_t{5});
    handler.setParams(command, partial);
    Cabinet params, complete;
    handler.getParams(command, params);
    SaveSettingsToCabinet(SplitSettings(), complete);
    EXPECT_EQ(KeyPaths(params), KeyPaths(complete));
    EXPECT_EQ(params.Get<std::int32_t>("SplitMode"), 5) << "what was given stays";

    // The dialog edits the parameters only when accepted.
    SplitSettings settings;
    settings.SplitMode = SplitMethod::EqualPages;
    settings.Filename.OutputBaseFilename = "Before";
    params.Clear();
    SaveSettingsToCabinet(settings, params);
    handler.setParams(command, params);
    EXPECT_EQ(handler.showDialog(command), CommandStatus::Cancelled) << "no window to show it in";
    HandWindows(std::make_unique<MemoryWindows>([](Dialog& dialog) {
        MemoryView view(dialog);
        view.Type(kBaseNameEdit, "After:1");
        return view.PressOk();
    }));
    const AcceptedOutputs menuDialogs{{OutputDocument{}}, "/menu/document.pdf"};
    Session().dialogs.accepted = menuDialogs;
    EXPECT_EQ(handler.showDialog(command), CommandStatus::Ready);
    EXPECT_EQ(Session().dialogs.accepted.list, menuDialogs.list) << "the menu dialog's list stays";
    Cabinet edited;
    handler.getParams(command, edited);
    SplitSettings loaded;
    ASSERT_TRUE(static_cast<bool>(LoadSettingsFromCabinet(loaded, edited)));
    EXPECT_EQ(loaded.Filename.OutputBaseFilename, "After_1");
}

// A command that always ends with an error, beside the split in one sequence.
CommandStatus FailingWork(host::CommandId) { return CommandStatus::Error; }
const host::CommandHandler kFailing{.work = &FailingWork};

class SequenceTest : public SplitBatchCommandTest {
protected:
    // A split and a failing command over two files of two pages.
    SequenceTest() {
        batch.RegisterHandler("Failing", &kFailing);
        for (const char* name : {"f0.pdf", "f1.pdf"}) test::PdfFixture(2).Write(host.folder / name);
        std::filesystem::create_directories(host.folder / "out");
        const std::string folder = host.folder.Path();
        sequence = cabinet::JsonCabinetStreams().ReadStream(R"({"Commands": {"0": {"HandlerName": ")" +
                                                            std::string(kSplitCommandName) + R"(", "Config": {}},
                             "1": {"HandlerName": "Failing", "Config": {}}},
                "Input": {"FileVariation": 0, "PreselectedFilesPaths": {"0": {"DI": ")" +
                                                            folder + R"(/f0.pdf"},
                                                                        "1": {"DI": ")" +
                                                            folder + R"(/f1.pdf"}}},
                "Output": {}})");
        SplitSettings settings;
        settings.SplitMode = SplitMethod::EqualPages;
        settings.Filename.OutputFolder = folder + "/out/";
        Cabinet params;
        SaveSettingsToCabinet(settings, params);
        for (const char* i : {"0", "1"}) test::At(sequence, {"Commands", i}).PutCabinet(host::kParams, params);
    }
    ~SequenceTest() override { batch.UnregisterHandler("Failing"); }

    Cabinet sequence;
};

// Refused with its reason when it would run nothing; else a command ending in an error fails its file and the run goes
// on.
TEST_F(SequenceTest, RefusedWhenItWouldRunNothingAndAFailingCommandFailsOnlyItsFile) {
    const Cabinet whole = sequence;
    const struct {
        const char* name;
        std::function<void()> edit;
        const char* says;
    } rows[] = {
        {"no Output", [&] { sequence.Remove("Output"); }, "\"Output\""},
        {"missing folder",
         [&] {
             Cabinet &input = test::At(sequence, {"Input"}), folder;
             folder.Put("DI", std::string(host.folder / "missing"));
             input.PutCabinet("PreselectedFolderPath", folder);
             input.Put("FileVariation", std::int32_t{1});
         },
         "cannot list the folder"},
        {"unknown FileVariation", [&] { test::At(sequence, {"Input"}).Put("FileVariation", 7); }, "FileVariation"},
        {"command without Params",
         [&] {
             test::At(sequence, {"Commands", "1"}).Remove(host::kParams);
         },
         "command 1 of the sequence lacks"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        sequence = whole;
        row.edit();
        EXPECT_FALSE(batch.RunSequence(sequence));
        EXPECT_NE(batch.LastRun().refusal.find(row.says), std::string::npos) << batch.LastRun().refusal;
    }
    EXPECT_TRUE(test::FilesBelow(host.folder / "out").empty()) << "nothing ran";
    sequence = whole;
    EXPECT_TRUE(batch.RunSequence(sequence));
    EXPECT_EQ(batch.LastRun().failed, 2);
    EXPECT_EQ(test::FilesBelow(host.folder / "out"),
              (std::vector<std::string>{"f0Doc1.pdf", "f0Doc2.pdf", "f1Doc1.pdf", "f1Doc2.pdf"}))
        << "f1 ran too";
}

// One record, three routes: the command line's --profile, a batch run's
// parameters and the window's Load Profile and OK. Each refuses it with the
// same words, or all take it. The documents have no bookmarks.
TEST_F(SequenceTest, EveryRouteRefusesTheSameSettingsWithTheSameWords) {
    LoadLanguageTables(std::string(TESSERA_SOURCE_DIR) + "/lang/");
    test::At(sequence, {"Commands"}).Remove("1");
    using Edit = std::function<void(SplitSettings&)>;
    const auto separator = [](const char* pattern, bool regex, double left = 0, double right = 0) -> Edit {
        return [=](SplitSettings& s) {
            s.SplitMode = SplitMethod::SeparatorPages;
            s.Output.SeparatorType = SeparatorKind::PageMatchingText;
            TextQuery& q = s.Output.SeparatorQuery;
            q.Pattern = pattern, q.UseRegExp = regex, q.UseAreaFilter = left != right;
            q.Area.left = Fixed16::FromRealRounded(left), q.Area.right = Fixed16::FromRealRounded(right);
        };
    };
    const auto watermark = [](const char* text, int size, int transparency) -> Edit {
        return [=](SplitSettings& s) { s.Output.EveryRangeWatermark = {text, transparency, size, false}; };
    };
    const auto query = [](SplitSettings& s) {
        PageRange range;
        range.Query.Enable = range.Query.FirstPageQuery.UseRegExp = true;
        range.Query.FirstPageQuery.Pattern = "[";
        s.SplitMode = SplitMethod::ManualRanges;
        s.Outputs = {OutputDocument{{range}, ""}};
    };
    const auto separatorOf = [](int kind) -> Edit {
        return [=](SplitSettings& s) {
            s.SplitMode = SplitMethod::SeparatorPages, s.Output.SeparatorType = SeparatorKind{kind};
        };
    };
    const struct {
        const char* name;
        Edit edit;
        const char* says; /* nullptr: every route takes it */
    } rows[] = {
        {"a separator pattern that does not compile", separator("(", true),
         "is not valid: missing closing parenthesis"},
        {"a query pattern that does not compile", query, "\"[\" is not valid"},
        {"\"(\" as plain text", separator("(", false), nullptr},
        {"a negative area", separator("Page", false, -10, 100), "0,100,0 cannot be used: its edges are points"},
        {"right left of left", separator("Page", false, 100, 50), "The area 100,0,50,0 cannot be used"},
        {"bookmarks where there are none", [](SplitSettings& s) { s.SplitMode = SplitMethod::BookmarkLevels; },
         "no bookmarks to split by"},
        {"a separator split with 0 pages per output",
         [&](SplitSettings& s) { separatorOf(0)(s), s.Output.NumEqualPages = 0; }, nullptr},
        {"0 pages per output", [](SplitSettings& s) { s.Output.NumEqualPages = 0; },
         "The number of pages per document must be greater than zero."},
        {"a watermark outside Windows-1252", watermark("\u6c34", 45, 50), "\"\u6c34\" is not in its font"},
        {"a watermark of size 0", watermark("DRAFT", 0, 50), "size goes from 1 to 1000 points, not 0"},
        {"a transparency of 150", watermark("DRAFT", 45, 150), "from 0 (opaque) to 100 (invisible), not 150"},
        {"separator kind 9", separatorOf(9), "The value 9 of Settings/OutputSettings/SeparatorType is not one of"},
        {"a base name longer than the window takes",
         [](SplitSettings& s) { s.Filename.OutputBaseFilename.assign(129, 'x'); },
         "Base filename: 129 characters, more than the 128 it may have."},
    };
    const DocumentHandle document(host.OpenActive(host.folder / "f0.pdf"), DocumentHandle::Ownership::Borrowed);
    const std::string profile = host.folder / "row.tpr";
    int row = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        SplitSettings settings;
        settings.SplitMode = SplitMethod::EqualPages;
        settings.Filename.OutputFolder = host.folder / ("out/" + std::to_string(++row) + "/");
        std::filesystem::create_directories(settings.Filename.OutputFolder);
        r.edit(settings);
        ASSERT_TRUE(SaveProfileFile(profile, settings));
        // What the route said, alerts included: the row's words, or nothing
        // but that a separator split found no separator in these pages.
        const auto said = [&](std::string text) {
            for (const std::string& alert : std::exchange(host.viewer.alerts, {}))
                if (alert != LookupString("IDS_WARN_NO_SEPARATOR_FOUND")) text += alert;
            return r.says ? text.find(r.says) != std::string::npos : text.empty();
        };

        host.commandLine.SetValues({{"profile", profile}});
        host.commandLine.SetDryRun(true);
        SplitCommand();
        EXPECT_EQ(host.commandLine.Outcome() == host::RunOutcome::Done, !r.says) << "command line";
        EXPECT_TRUE(said(host.commandLine.OutcomeMessage())) << "command line";

        std::ostringstream lines;
        batch.SetReport(&lines, false);
        Cabinet params;
        SaveSettingsToCabinet(settings, params);
        test::At(sequence, {"Commands", "0"}).PutCabinet(host::kParams, params);
        EXPECT_TRUE(batch.RunSequence(sequence));
        EXPECT_EQ(batch.LastRun().failed, r.says ? 2 : 0) << "batch";
        EXPECT_TRUE(said(r.says ? lines.str() : "")) << "batch: " << lines.str();

        SplitSettingsDialog dialog(document, 2, {.remembersSettings = false});
        MemoryView view(dialog);
        view.onChooseFileToOpen = [&](const FileChoice&) { return profile; };
        view.Click(kLoadProfileButton);
        EXPECT_EQ(dialog.Accept(), !r.says) << "window";
        EXPECT_TRUE(said("")) << "window";
    }
}

}  // namespace
}  // namespace tessera
