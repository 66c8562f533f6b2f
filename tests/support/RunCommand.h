#pragma once
#include <string>

namespace tessera::test {

struct CommandResult {
    int status = -1;     // exit status
    std::string output;  // what it wrote on stdout
};

// Runs a shell command line; stderr goes to the test log unless redirected.
CommandResult RunCommand(const std::string& command);
// Single-quotes a word for the shell.
std::string ShellQuote(const std::string& word);

}  // namespace tessera::test
