#include "cli/SplitCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "cli/DocsGenerator.h"
#include "cli/ExitStatus.h"
#include "cli/PlanPictureStep.h"
#include "cli/SplitEnd.h"
#include "cli/StdinInput.h"
#include "host/HostError.h"
#include "host/PlugInNames.h"
#include "report/RunJson.h"
#include "report/SignalJson.h"
#include "report/TerminalText.h"
#include "runtime/HostTexts.h"

namespace tessera::app {
namespace {

using host::kPlugInName;

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
    std::optional<nlohmann::json> picture;
    if (!a.planPicture.empty() && front.HasOutcome() && front.Outcome() == host::RunOutcome::Done) {
        std::string error;
        picture = DrawPlanPicture(a.planPicture, a.input, runtime, viewer.ActiveDocument(), front, error);
        if (!picture) {
            viewer.Alert("cannot write the plan picture " + a.planPicture + ": " + error);
            status = Code(ExitStatus::Failed);
        }
    }
    if (a.json) {
        const host::DocId doc = viewer.ActiveDocument();
        const int pages = doc == host::kNoDocument ? 0 : runtime.Services().documents->PageCount(doc);
        PrintSplitJson(std::cout, a.input, pages, front, viewer, status, a.dryRun, picture ? &*picture : nullptr);
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

}  // namespace

CLI::App* AddSplitCommand(CLI::App& app, SplitArguments& a, CommandLineFrontEnd& front) {
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
    split->add_option("--plan-picture", a.planPicture,
                      HostText("split_plan-picture",
                               "With --dry-run: also draw the plan into this PNG file, each output's pages under a "
                               "band with its file name, dropped pages crossed, pages in no output greyed"));
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
    return split;
}

CLI::App* AddGuiCommand(CLI::App& app, SplitArguments& a) {
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
    return gui;
}

int RunSplitCommand(SplitArguments& a, CommandSession& s) {
    if ((a.gui || a.showResult) != static_cast<bool>(s.desktop) || (!a.gui && !a.screenshot.empty()) ||
        (a.gui && a.showResult)) {
        std::cerr << "tessera: --screenshot goes with --gui, --gui and --show-result are words of their own, and "
                     "one excludes the other"
                  << std::endl;
        return Code(ExitStatus::UsageError);
    }
    if (a.gui && !s.onScreen && a.screenshot.empty()) {
        std::cerr << "tessera: the window would open offscreen, where nobody can use it; give --screenshot FILE.png"
                  << std::endl;
        return Code(ExitStatus::Failed);
    }
    // A profile opened from the file manager: the dialog starts from it and asks for the PDF.
    if (a.gui && IsProfile(a.input)) {
        std::vector<host::OptionValue> values = s.front.SplitOptions();
        values.insert(values.begin(), {"profile", a.input});
        s.front.SetValues(std::move(values));
        a.input.clear();
    }
    if (a.gui && a.input.empty() && (a.input = s.desktop->ChooseDocument()).empty()) return Code(ExitStatus::Failed);
    // Standard input has no time of its own: 1970 stands for it.
    if (!SetTimeRules(s.front, a.deterministic, a.input)) {
        if (a.json) PrintEarlyEndJson(std::cout, a.input, "SOURCE_DATE_EPOCH is not a time", 2);
        return Code(ExitStatus::UsageError);
    }
    StdinInput fromStdin;  // removed when the run ends
    if (a.input == "-") {
        const std::optional<std::string> copy = fromStdin.Copy();
        if (!copy && a.json) PrintEarlyEndJson(std::cout, "-", fromStdin.Reason(), fromStdin.FailedStatus());
        if (!copy) return fromStdin.FailedStatus();
        a.input = *copy;
    }
    if (const std::string refusal = PlanPictureRefusal(a.planPicture, a.dryRun, a.input); !refusal.empty()) {
        std::cerr << "tessera: " << refusal << std::endl;
        if (a.json) PrintEarlyEndJson(std::cout, a.input, refusal, Code(ExitStatus::UsageError));
        return Code(ExitStatus::UsageError);
    }
    a.asksPassword = s.onScreen;
    s.front.SetJson(a.json);
    s.front.SetLastMessage([&s] { return s.viewer.MessagesOfOutput(); });
    s.front.SetWindows(a.gui, a.screenshot);
    s.viewer.SetQuiet(a.quiet);
    // --quiet drops the bar; progress asked for by name still shows.
    if (!a.quiet || a.progress != "bar") s.viewer.SetProgressStyle(a.progress);
    s.windows.SetAssumeYes(a.yes);
    s.front.SetRemembered(a.remembered);
    s.front.SetReset(a.reset);
    s.front.SetDryRun(a.dryRun);
    const int status = RunSplit(a, s.runtime, s.viewer, s.front, s.desktop);
    if ((a.gui || a.showResult) && s.onScreen) OfferOutputFolder(s.front, s.windows);
    return status;
}

}  // namespace tessera::app
