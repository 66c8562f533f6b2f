#pragma once
// Completion scripts for bash, zsh and fish: subcommands, every option of
// each, the fixed values an option takes and the files it names by extension.
#include <string>
#include <vector>

#include "cli/CommandDocs.h"

namespace tessera::app {

std::string BashCompletion(const std::vector<CommandDoc>& commands, const CommandDoc& top);
std::string ZshCompletion(const std::vector<CommandDoc>& commands);
std::string FishCompletion(const std::vector<CommandDoc>& commands);

}  // namespace tessera::app
