#pragma once
// The commands and their options as the manual pages and the shell
// completions show them, read from the command line itself: the options the
// plug-in declares, with their values and initial values, and those the host
// adds to each command.
#include <string>
#include <vector>

#include "host/CommandLineServices.h"

namespace CLI {
class App;
}

namespace tessera::app {

// One option of a command as the pages and completions show it.
struct OptionDoc {
    std::vector<std::string> names;  // "-o", "--output-folder"
    std::string value;               // how the value is written; empty for a switch
    std::string help, group, initial;
    std::vector<std::string> words;    // the values it takes, when they are fixed
    std::vector<std::string> offered;  // else what a shell offers to start a value with
    std::string files;                 // "dir", or a file extension such as "pdf"; empty: any file
};

struct CommandDoc {
    std::string name, summary;
    std::vector<OptionDoc> options;
    OptionDoc positional;  // its name in value; none when value is empty
};

// The words with `separator` between them.
std::string JoinedWords(const std::vector<std::string>& words, const std::string& separator);

// The visible subcommands of `app`, and `app`'s own options in `top`.
std::vector<CommandDoc> CollectCommands(const CLI::App& app, const std::vector<host::OptionSpec>& declared,
                                        CommandDoc& top);

}  // namespace tessera::app
