#pragma once
#include "desktop/Desktop.h"

namespace tessera::app {

// The whole program: parses the command line and runs the subcommand.
// Exit status 0 done, 1 refused or failed, 2 usage error. A desktop run
// starts its windows with startDesktop.
int RunCommandLine(int argc, char** argv, DesktopStarter startDesktop);

}  // namespace tessera::app
