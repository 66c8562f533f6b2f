#pragma once
// `tessera split` and `tessera gui`: their options, and the run that opens
// the input and executes the plug-in's split command with them.
#include <string>

#include "cli/CommandLineFrontEnd.h"
#include "desktop/Desktop.h"
#include "runtime/HostRuntime.h"
#include "viewer/ConsoleViewer.h"
#include "viewer/ConsoleWindows.h"

namespace CLI {
class App;
}

namespace tessera::app {

struct SplitArguments {
    std::string input, password, screenshot, planPicture;
    bool dryRun = false, remembered = false, reset = false, quiet = false, yes = false, gui = false;
    bool asksPassword = false;  // in a window on a screen, instead of refusing
    bool json = false, warningExit0 = false, deterministic = false;
    bool showResult = false;  // messages in windows, the settings from the options
    std::string progress = "bar";
};

// What a subcommand runs with: the desktop (none on the command line) and
// whether its windows are on a screen, the viewer and windows standing for
// the host's, the front end holding the declared options, and the services.
struct CommandSession {
    Desktop* desktop = nullptr;
    bool onScreen = false;
    ConsoleViewer& viewer;
    ConsoleWindows& windows;
    CommandLineFrontEnd& front;
    HostRuntime& runtime;
};

// The subcommands' parsers, filling `a`; both take the plug-in's declared options.
CLI::App* AddSplitCommand(CLI::App& app, SplitArguments& a, CommandLineFrontEnd& front);
CLI::App* AddGuiCommand(CLI::App& app, SplitArguments& a);

// Runs the split the arguments ask for; the exit status (cli/ExitStatus.h).
int RunSplitCommand(SplitArguments& a, CommandSession& s);

}  // namespace tessera::app
