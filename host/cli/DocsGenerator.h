#pragma once
// The manual pages and the shell completions, made at build time from the
// command line itself: the options the plug-in declares (with their values
// and initial values) and those the host adds to each command, never from
// the text of --help.
#include <string>
#include <vector>

#include "host/CommandLineServices.h"

namespace CLI {
class App;
}

namespace tessera::app {

// Writes into `folder`: tessera.1, tessera-split.1, tessera-batch.1,
// tessera-gui.1, tessera-watch.1, tessera.bash, _tessera (zsh) and tessera.fish. False, said
// on stderr, when a file cannot be written.
bool GenerateDocs(const CLI::App& app, const std::vector<host::OptionSpec>& declared, const std::string& footer,
                  const std::string& folder);

}  // namespace tessera::app
