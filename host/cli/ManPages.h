#pragma once
// The manual pages (roff) of the program and of its commands.
#include <string>
#include <vector>

#include "cli/CommandDocs.h"

namespace tessera::app {

// tessera(1): the commands, the program's own options, exit statuses, files, environment.
std::string MainPage(const std::vector<CommandDoc>& commands, const CommandDoc& top);
// tessera-NAME(1): every option of the command in its groups, with values and initial values.
std::string CommandPage(const CommandDoc& command, const std::string& footer);

}  // namespace tessera::app
