#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/BatchCommandLine.h"
#include "app/CommandLineFrontEnd.h"
#include "app/ConsoleViewer.h"
#include "app/ConsoleWindows.h"
#include "app/DocsGenerator.h"
#include "app/ExitStatus.h"
#include "app/ForkedWorkers.h"
#include "app/HostRuntime.h"
#include "app/HostTexts.h"
#include "app/ModuleLoader.h"
#include "app/SplitEnd.h"
#include "app/StdinInput.h"
#include "host/HostError.h"
#include "host/PlugInNames.h"
#include "os/InterruptCleanup.h"
#include "report/RunJson.h"
#include "report/SignalJson.h"
#include "report/TerminalText.h"

namespace tessera::app {
namespace {

using host::kPlugInName;

struct SplitArguments {
    std::string input, password, screenshot;
    bool dryRun = false, remembered = false, reset = false, quiet = false, yes = false, gui = false;
    bool asksPassword = false;  // in a window on a screen, instead of refusing
    bool json = false, warningExit0 = false, deterministic = false;
    bool showResult = false;  // messages in windows, the settings from the options
    std::string progress = "bar";
};

// The module named on the command line, looked for before the full parse,
// which needs the options the module declares.
std::string ModuleArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--module" && i + 1 < argc) return argv[i + 1];
        if (arg.rfind("--module=", 0) == 0) return arg.substr(9);
    }
    return ModuleLoader::DefaultPath();
}

// Whether the run shows windows ("gui", or "split --gui"), known before the
// parse because the viewer is made before the module is loaded.
bool WantsWindows(int argc, char** argv) {
    int i = 1;
    while (i < argc && std::string(argv[i]).rfind("--", 0) == 0) i += std::string(argv[i]) == "--module" ? 2 : 1;
    if (i < argc && std::string(argv[i]) == "gui") return true;
    for (; i < argc; ++i)
        if (std::string(argv[i]) == "--gui" || std::string(argv[i]) == "--show-result") return true;
    return false;
}

bool WantsPictureOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--screenshot", 0) == 0) return true;
    return false;
}

int StatusOfOutcome(const CommandLineFrontEnd& front) {
    if (!front.HasOutcome()) return Code(ExitStatus::Failed);
    switch (front.Outcome()) {
        case host::RunOutcome::Done:
            return Code(ExitStatus::Done);
        case host::RunOutcome::UsageError:
            return Code(ExitStatus::UsageError);
        default:
            return Code(ExitStatus::Failed);
    }
}

// Why a document cannot be opened, in the words of the command line.
std::string OpenFailure(const SplitArguments& a, const host::HostError& error) {
    const bool passwordNeeded = error.Code() == host::kErrorPassword && a.password.empty();
    return "cannot open " + a.input + ": " + error.what() + (passwordNeeded ? "; give it with --password" : "");
}

// Whether the open document keeps its pages from being taken out: only its
// owner password lifts that.
bool DeniesCopying(HostRuntime& runtime, host::DocId doc) {
    const std::optional<host::Permissions> permissions = runtime.Services().documents->SecurityPermissions(doc);
    return permissions && !permissions->Allows(host::Permission::Copy);
}

// In a window, the owner password of an input that denies taking its pages
// out, asked until it is given or the user gives up (the split then says
// why it cannot go on); the input opened with it becomes the active one.
void AskOwnerPassword(const SplitArguments& a, HostRuntime& runtime, ConsoleViewer& viewer, Desktop& desktop) {
    for (auto which = Desktop::Password::Owner;; which = Desktop::Password::OwnerAgain) {
        const std::optional<std::string> owner = desktop.AskPassword(a.input, which);
        if (!owner) return;
        host::DocId doc = host::kNoDocument;
        try {
            doc = runtime.Store().Open(a.input, *owner);
        } catch (const host::HostError&) {
            continue;  // no password of this document at all
        }
        if (!DeniesCopying(runtime, doc)) {
            runtime.Store().Close(viewer.ActiveDocument());
            viewer.SetActiveDocument(doc);
            return;
        }
        runtime.Store().Close(doc);
    }
}

// The input as the active document; in a window an encrypted input's password
// is asked for until it opens or the user gives up, then an owner password
// where one is needed. False when it did not open.
bool OpenInput(const SplitArguments& a, HostRuntime& runtime, ConsoleViewer& viewer, Desktop* desktop) {
    std::string password = a.password;
    for (auto which = Desktop::Password::Open;; which = Desktop::Password::OpenAgain) {
        try {
            viewer.SetActiveDocument(runtime.Store().Open(a.input, password));
            break;
        } catch (const host::HostError& error) {
            if (!a.asksPassword || !desktop || error.Code() != host::kErrorPassword) {
                viewer.Alert(OpenFailure(a, error));
                return false;
            }
            const std::optional<std::string> given = desktop->AskPassword(a.input, which);
            if (!given) return false;
            password = *given;
        }
    }
    if (a.asksPassword && desktop && DeniesCopying(runtime, viewer.ActiveDocument()))
        AskOwnerPassword(a, runtime, viewer, *desktop);
    return true;
}

// qpdf mends a damaged input as it reads it, and says so once.
void WarnOfRepairs(HostRuntime& runtime, ConsoleViewer& viewer) {
    const host::DocId doc = viewer.ActiveDocument();
    if (doc == host::kNoDocument) return;
    if (const std::optional<std::string> note = runtime.Store().RepairNote(doc)) viewer.AlertWarning(*note);
}

int OpenAndSplit(const SplitArguments& a, HostRuntime& runtime, ConsoleViewer& viewer, CommandLineFrontEnd& front,
                 Desktop* desktop) {
    runtime.Store().SetPlanningOnly(a.dryRun);
    if (!OpenInput(a, runtime, viewer, desktop)) return Code(ExitStatus::Failed);
    WarnOfRepairs(runtime, viewer);  // mended as it opened: said before the run
    if (a.json && !a.dryRun) {
        const int pages = runtime.Services().documents->PageCount(viewer.ActiveDocument());
        StartSignalJson(JsonLine(InputJson(a.input, pages)), [&viewer] { return viewer.Warnings(); });
    }
    if (!viewer.Menus().Execute(host::kSplitMenu, kPlugInName)) {
        viewer.Alert("the split command is not available");
        return Code(ExitStatus::Failed);
    }
    return StatusOfOutcome(front);
}

int RunSplit(const SplitArguments& a, HostRuntime& runtime, ConsoleViewer& viewer, CommandLineFrontEnd& front,
             Desktop* desktop) {
    int status = OpenAndSplit(a, runtime, viewer, front, desktop);
    // Mended while the run read it; a user who cancelled learns nothing from it.
    if (!front.HasOutcome() || front.Outcome() != host::RunOutcome::Cancelled) WarnOfRepairs(runtime, viewer);
    status = SplitExitStatus(status, front, viewer, a.warningExit0);
    if (a.json) {
        const host::DocId doc = viewer.ActiveDocument();
        const int pages = doc == host::kNoDocument ? 0 : runtime.Services().documents->PageCount(doc);
        PrintSplitJson(std::cout, a.input, pages, front, viewer, status, a.dryRun);
    }
    runtime.Store().KeepUntilExit();
    // --quiet keeps back the success report only; a failure always says why.
    const bool reported =
        (status == Code(ExitStatus::Done) || status == Code(ExitStatus::DoneWithWarnings)) && !a.dryRun;
    viewer.ReleaseAlerts(reported ? ConsoleViewer::Held::AllButReport : ConsoleViewer::Held::All);
    if (front.HasOutcome() && front.Outcome() == host::RunOutcome::UsageError && !front.OutcomeMessage().empty())
        std::cerr << "tessera: " << EscapedForTerminal(front.OutcomeMessage(), true) << std::endl;
    return status;
}

// The time that stands for now, and whether the files must repeat run after
// run; false after a usage error. A bad SOURCE_DATE_EPOCH without
// --deterministic is said and the clock used: build tools set it for every tool.
bool SetTimeRules(CommandLineFrontEnd& front, bool deterministic, const std::string& input) {
    std::string error;
    const std::optional<std::int64_t> time = FixedTimeFor(deterministic, input, error);
    if (!error.empty()) std::cerr << "tessera: " << error << (deterministic ? "" : "; the clock is used") << std::endl;
    if (!error.empty() && deterministic) return false;
    front.SetFixedTime(time);
    front.SetDeterministic(deterministic);
    return true;
}

bool IsProfile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".tpr";
}

// After a run in windows that wrote outputs: the folder that holds them all, opened if the user wants.
void OfferOutputFolder(const CommandLineFrontEnd& front, ConsoleWindows& windows) {
    std::optional<std::filesystem::path> folder;
    for (const host::ReportedOutput& output : front.Reported()) {
        if (output.status != host::OutputStatus::Written) continue;
        const std::filesystem::path parent = std::filesystem::path(output.path).parent_path();
        if (!folder) folder = parent;
        while (!folder->empty() && folder->has_relative_path() &&
               std::mismatch(folder->begin(), folder->end(), parent.begin(), parent.end()).first != folder->end())
            folder = folder->parent_path();
    }
    std::string question = HostText("open_folder", "Open the folder of the outputs, %1?");
    if (const std::size_t at = question.find("%1"); at != std::string::npos)
        question.replace(at, 2, folder ? folder->string() : "");
    if (folder && windows.AskYesNo("Tessera", question)) windows.OpenWithShell(folder->string());
}

int ListMenus(const ConsoleViewer& viewer) {
    for (const std::string& menu : viewer.Menus().MenuNames())
        for (const MenuBar::Item* item : viewer.Menus().Items(menu))
            std::cout << menu << '\t' << item->name << '\t' << item->title << '\t'
                      << (viewer.Menus().IsEnabled(*item) ? "enabled" : "disabled") << '\n';
    return Code(ExitStatus::Done);
}

void AddSplitCommand(CLI::App& app, SplitArguments& a, CommandLineFrontEnd& front) {
    CLI::App* split =
        app.add_subcommand("split", HostText("split", "Split a PDF document into several output documents"));
    NameOptionsGroup(*split);
    split
        ->add_option("input", a.input,
                     HostText("split_input", "The PDF document to split; - reads it from standard input"))
        ->required()
        ->check(CLI::ExistingFile | CLI::IsMember({"-"}));
    split->add_option("--password", a.password, HostText("split_password", "Password that opens an encrypted input"));
    split->add_flag(
        "--dry-run", a.dryRun,
        HostText("split_dry-run",
                 "Print the planned outputs (number, file name, pages) as tab-separated lines; write nothing"));
    split->add_flag(
        "--remembered", a.remembered,
        HostText("split_remembered",
                 "Start from the settings stored by the last --remembered run, and store this run's settings "
                 "when it completes (without it, a run starts from the initial settings and stores nothing)"));
    split->add_flag(
        "--reset", a.reset,
        HostText("split_reset", "With --remembered: start from the initial settings, still storing this run's"));
    split->add_flag("--quiet", a.quiet,
                    HostText("split_quiet", "No progress bar and no report of success; failures still say why"));
    split->add_flag(
        "--yes", a.yes,
        HostText("split_yes",
                 "Answer yes to every question (such as creating the output folder); without it, a question "
                 "that cannot be asked on a terminal is answered no"));
    split->add_flag("--gui", a.gui,
                    HostText("split_gui",
                             "Show the settings dialog in a window, starting from the remembered settings changed by "
                             "--profile and the other options"));
    split->add_option(
        "--screenshot", a.screenshot,
        HostText("split_screenshot", "With --gui: draw the dialog as it opens into this PNG file and split nothing"));
    split->add_flag(
        "--show-result", a.showResult,
        HostText("split_show-result",
                 "Split with the options given, without the dialog, and show the messages and the result in "
                 "windows, offering to open the output folder (for the desktop's \"Split\" actions)"));
    split->add_flag("--json", a.json,
                    HostText("split_json",
                             "Print one JSON document on stdout: with --dry-run the plan, else the report of the run "
                             "(tessera-run.schema.json, beside the README); messages go to stderr"));
    split
        ->add_option("--progress", a.progress,
                     HostText("split_progress",
                              "How progress shows on stderr: bar (on a terminal), json (a JSON "
                              "object a line, at most ten a second) or none"))
        ->check(CLI::IsMember({"bar", "json", "none"}));
    split->add_flag(
        "--warning-exit-0", a.warningExit0,
        HostText("split_warning-exit-0",
                 "Exit 0, not 3, when the run is done with warnings (a repaired input, a page read in part)"));
    split->add_flag("--deterministic", a.deterministic,
                    HostText("split_deterministic",
                             "Write the same files run after run: document IDs from the content, and the date from "
                             "SOURCE_DATE_EPOCH or else from the input's modification time; refuses encryption"));
    front.AddDeclaredOptions(*split);
}

void AddGuiCommand(CLI::App& app, SplitArguments& a) {
    CLI::App* gui =
        app.add_subcommand("gui", HostText("gui", "Open a PDF document and split it in the settings dialog's window"));
    NameOptionsGroup(*gui);
    gui->add_option("input", a.input,
                    HostText("gui_input", "The PDF document to split (default: chosen in a file dialog)"))
        ->check(CLI::ExistingFile);
    gui->add_option("--password", a.password, HostText("gui_password", "Password that opens an encrypted input"));
    gui->add_option("--screenshot", a.screenshot,
                    HostText("gui_screenshot", "Draw the dialog as it opens into this PNG file and split nothing"));
    gui->parse_complete_callback([&a] { a.gui = true; });
}

}  // namespace

int RunCommandLine(int argc, char** argv, DesktopStarter startDesktop) {
    // Only a desktop run makes a QApplication: the command line needs no display.
    std::unique_ptr<Desktop> desktop;
    if (WantsWindows(argc, argv) && !(desktop = startDesktop(argc, argv, WantsPictureOnly(argc, argv))))
        return Code(ExitStatus::Failed);
    // Offscreen (a picture run) no one could click a message box away: messages go to stderr.
    const bool onScreen = desktop && desktop->HasScreen();
    const std::unique_ptr<ConsoleViewer> viewerPtr(onScreen ? desktop->NewViewer() : std::make_unique<ConsoleViewer>());
    const std::unique_ptr<ConsoleWindows> windowsPtr(onScreen ? desktop->NewWindows()
                                                              : std::make_unique<ConsoleWindows>());
    ConsoleViewer& viewer = *viewerPtr;
    ConsoleWindows& windows = *windowsPtr;
    CommandLineFrontEnd front(std::cout);
    // A window's toolkit must never run in a forked copy of the process: a
    // desktop run writes its outputs in order.
    ForkedWorkers workers(viewer);
    HostRuntime runtime(viewer, windows, front, settings::SettingsFile::DefaultFolder(), desktop ? nullptr : &workers);
    ModuleLoader module;
    const std::string modulePath = ModuleArgument(argc, argv);
    if (const std::optional<std::string> failure = module.Load(modulePath, runtime.Core())) {
        std::cerr << "tessera: cannot load the plug-in module " << modulePath << ": " << *failure << std::endl;
        return Code(ExitStatus::Failed);
    }

    CLI::App app{HostText("tessera", "Tessera splits one PDF document into many.")};
    // CLI11's own words in the user's language too; subcommands share them.
    app.option_defaults()->group(HostText("label_Options", "Options"));
    app.set_help_flag("-h,--help", HostText("help-flag", "Print this help message and exit"));
    for (const char* label : {"Usage", "Positionals", "Options", "REQUIRED", "Subcommands"})
        app.get_formatter()->label(label, HostText(std::string("label_") + label, label));
    // A sequence named at start-up runs without a command (see Unattended below).
    const char* startupSequence = std::getenv("TESSERA");
    const bool unattended = startupSequence != nullptr && *startupSequence != '\0';
    app.require_subcommand(unattended ? 0 : 1, 1);
    app.set_version_flag("--version", std::string("tessera ") + TESSERA_VERSION,
                         HostText("version-flag", "Print the version and exit"));
    std::string moduleOption;
    app.add_option("--module", moduleOption,
                   HostText("module", "The plug-in module to load (default: Tessera.api beside the program)"));
    SplitArguments split;
    AddSplitCommand(app, split, front);
    AddGuiCommand(app, split);
    CLI::App* help = app.add_subcommand("help", HostText("help", "Open the help file"));
    CLI::App* about = app.add_subcommand("about", HostText("about", "Show what Tessera is and its version"));
    CLI::App* menus = app.add_subcommand("menus", HostText("menus", "List the menu items the plug-in installed"));
    // The build's: the manual pages and completions, from the options as declared.
    std::string docsFolder;
    CLI::App* docs = app.add_subcommand("generate-docs", "")->group("");
    docs->add_option("folder", docsFolder)->required();
    BatchArguments batchArguments;
    CLI::App* batch = AddBatchCommand(app, batchArguments);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
        std::cerr << "tessera: " << e.what() << std::endl;
        return Code(ExitStatus::UsageError);
    }
    if (unattended && !app.get_subcommands().empty()) {
        std::cerr << "tessera: TESSERA names " << startupSequence << ", a sequence to run instead of any command; "
                  << "unset it to run the command" << std::endl;
        return Code(ExitStatus::UsageError);
    }
    runtime.Batch().SetReport(&std::cout, ::isatty(STDERR_FILENO));
    runtime.Batch().SetOptions({.warningCount = [&viewer] { return viewer.Warnings().size(); }});
    // Reproducible builds set SOURCE_DATE_EPOCH for every tool they run, a
    // sequence named at start-up included; a bad value is said by the commands.
    std::string ignored;
    front.SetFixedTime(FixedTimeFor(false, "", ignored));
    // From here on an interrupt says what the run finished, also during a
    // scan that comes before any output is written.
    WatchInterrupts();
    viewer.Notify(0);  // start-up is over: a sequence named by TESSERA runs now
    if (runtime.Batch().CloseRequested()) return SequenceStatus(runtime);
    if (unattended) {
        std::cerr << "tessera: TESSERA names " << startupSequence << ", which could not be read as a sequence"
                  << std::endl;
        return Code(ExitStatus::Failed);
    }

    if (help->parsed())
        return viewer.Menus().Execute(host::kHelpMenu, kPlugInName) ? StatusOfOutcome(front) : Code(ExitStatus::Failed);
    if (about->parsed())
        return viewer.Menus().Execute(host::kAboutMenu, kPlugInName) ? Code(ExitStatus::Done)
                                                                     : Code(ExitStatus::Failed);
    if (menus->parsed()) return ListMenus(viewer);
    if (docs->parsed())
        return GenerateDocs(app, front.Declared(), front.Footer(), docsFolder) ? Code(ExitStatus::Done)
                                                                               : Code(ExitStatus::Failed);
    if (batch->parsed()) {
        return SetTimeRules(front, batchArguments.deterministic, "") ? RunBatch(batchArguments, runtime, viewer, front)
                                                                     : Code(ExitStatus::UsageError);
    }
    if ((split.gui || split.showResult) != static_cast<bool>(desktop) || (!split.gui && !split.screenshot.empty()) ||
        (split.gui && split.showResult)) {
        std::cerr << "tessera: --screenshot goes with --gui, --gui and --show-result are words of their own, and "
                     "one excludes the other"
                  << std::endl;
        return Code(ExitStatus::UsageError);
    }
    if (split.gui && !onScreen && split.screenshot.empty()) {
        std::cerr << "tessera: the window would open offscreen, where nobody can use it; give --screenshot FILE.png"
                  << std::endl;
        return Code(ExitStatus::Failed);
    }
    // A profile opened from the file manager: the dialog starts from it and asks for the PDF.
    if (split.gui && IsProfile(split.input)) {
        std::vector<host::OptionValue> values = front.SplitOptions();
        values.insert(values.begin(), {"profile", split.input});
        front.SetValues(std::move(values));
        split.input.clear();
    }
    if (split.gui && split.input.empty() && (split.input = desktop->ChooseDocument()).empty())
        return Code(ExitStatus::Failed);
    // Standard input has no time of its own: 1970 stands for it.
    if (!SetTimeRules(front, split.deterministic, split.input)) {
        if (split.json) PrintEarlyEndJson(std::cout, split.input, "SOURCE_DATE_EPOCH is not a time", 2);
        return Code(ExitStatus::UsageError);
    }
    StdinInput fromStdin;  // removed when the run ends
    if (split.input == "-") {
        const std::optional<std::string> copy = fromStdin.Copy();
        if (!copy && split.json) PrintEarlyEndJson(std::cout, "-", fromStdin.Reason(), fromStdin.FailedStatus());
        if (!copy) return fromStdin.FailedStatus();
        split.input = *copy;
    }
    split.asksPassword = onScreen;
    front.SetJson(split.json);
    front.SetLastMessage([&viewer] { return viewer.MessagesOfOutput(); });
    front.SetWindows(split.gui, split.screenshot);
    viewer.SetQuiet(split.quiet);
    // --quiet drops the bar; progress asked for by name still shows.
    if (!split.quiet || split.progress != "bar") viewer.SetProgressStyle(split.progress);
    windows.SetAssumeYes(split.yes);
    front.SetRemembered(split.remembered);
    front.SetReset(split.reset);
    front.SetDryRun(split.dryRun);
    const int status = RunSplit(split, runtime, viewer, front, desktop.get());
    if ((split.gui || split.showResult) && onScreen) OfferOutputFolder(front, windows);
    return status;
}

}  // namespace tessera::app
