#pragma once

namespace tessera::app {

// The whole program: parses the command line and runs the subcommand.
// Exit status 0 done, 1 refused or failed, 2 usage error.
int RunCommandLine(int argc, char** argv);

}  // namespace tessera::app
