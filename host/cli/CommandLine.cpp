#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <iostream>

#include "cli/BatchCommandLine.h"
#include "cli/CommandLineFrontEnd.h"
#include "cli/DocsGenerator.h"
#include "cli/ExitStatus.h"
#include "cli/SplitCommand.h"
#include "cli/SplitEnd.h"
#include "cli/WatchCommandLine.h"
#include "host/PlugInNames.h"
#include "os/InterruptCleanup.h"
#include "report/SignalJson.h"
#include "runtime/HostRuntime.h"
#include "runtime/HostTexts.h"
#include "runtime/ModuleLoader.h"
#include "viewer/ConsoleViewer.h"
#include "viewer/ConsoleWindows.h"
#include "workers/ForkedWorkers.h"

namespace tessera::app {
namespace {

using host::kPlugInName;

// A subcommand: its parser, and what runs it once the command line named it.
struct Subcommand {
    CLI::App* parser;
    std::function<int()> run;
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

int ListMenus(const ConsoleViewer& viewer) {
    for (const std::string& menu : viewer.Menus().MenuNames())
        for (const MenuBar::Item* item : viewer.Menus().Items(menu))
            std::cout << menu << '\t' << item->name << '\t' << item->title << '\t'
                      << (viewer.Menus().IsEnabled(*item) ? "enabled" : "disabled") << '\n';
    return Code(ExitStatus::Done);
}

// The program's own words and options, in the user's language: CLI11's
// labels too, which the subcommands share.
void DescribeProgram(CLI::App& app, bool unattended, std::string& moduleOption) {
    app.option_defaults()->group(HostText("label_Options", "Options"));
    app.set_help_flag("-h,--help", HostText("help-flag", "Print this help message and exit"));
    for (const char* label : {"Usage", "Positionals", "Options", "REQUIRED", "Subcommands"})
        app.get_formatter()->label(label, HostText(std::string("label_") + label, label));
    app.require_subcommand(unattended ? 0 : 1, 1);
    app.set_version_flag("--version", std::string("tessera ") + TESSERA_VERSION,
                         HostText("version-flag", "Print the version and exit"));
    app.add_option("--module", moduleOption,
                   HostText("module", "The plug-in module to load (default: Tessera.api beside the program)"));
}

CLI::App* AddDocsCommand(CLI::App& app, std::string& folder) {
    CLI::App* docs = app.add_subcommand("generate-docs", "")->group("");
    docs->add_option("folder", folder)->required();
    return docs;
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
    CommandSession session{desktop.get(), onScreen, viewer, windows, front, runtime};

    CLI::App app{HostText("tessera", "Tessera splits one PDF document into many.")};
    // A sequence named at start-up runs without a command (see Unattended below).
    const char* startupSequence = std::getenv("TESSERA");
    const bool unattended = startupSequence != nullptr && *startupSequence != '\0';
    std::string moduleOption;
    DescribeProgram(app, unattended, moduleOption);
    SplitArguments split;
    BatchArguments batch;
    WatchArguments watch;
    std::string docsFolder;
    const auto runSplit = [&] { return RunSplitCommand(split, session); };
    const auto ran = [&viewer](const char* menu) { return viewer.Menus().Execute(menu, kPlugInName); };
    // In the order --help lists them.
    const std::vector<Subcommand> commands = {
        {AddSplitCommand(app, split, front), runSplit},
        {AddGuiCommand(app, split), runSplit},
        {app.add_subcommand("help", HostText("help", "Open the help file")),
         [&] { return ran(host::kHelpMenu) ? StatusOfOutcome(front) : Code(ExitStatus::Failed); }},
        {app.add_subcommand("about", HostText("about", "Show what Tessera is and its version")),
         [&] { return ran(host::kAboutMenu) ? Code(ExitStatus::Done) : Code(ExitStatus::Failed); }},
        {app.add_subcommand("menus", HostText("menus", "List the menu items the plug-in installed")),
         [&] { return ListMenus(viewer); }},
        // The build's: the manual pages and completions, from the options as declared.
        {AddDocsCommand(app, docsFolder),
         [&] {
             return GenerateDocs(app, front.Declared(), front.Footer(), docsFolder) ? Code(ExitStatus::Done)
                                                                                    : Code(ExitStatus::Failed);
         }},
        {AddBatchCommand(app, batch),
         [&] {
             return SetTimeRules(front, batch.deterministic, "") ? RunBatch(batch, runtime, viewer, front)
                                                                 : Code(ExitStatus::UsageError);
         }},
        {AddWatchCommand(app, watch), [&] { return RunWatch(watch, moduleOption); }},
    };
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
    for (const Subcommand& command : commands)
        if (command.parser->parsed()) return command.run();
    return Code(ExitStatus::UsageError);  // not reached: the parse asks for one
}

}  // namespace tessera::app
