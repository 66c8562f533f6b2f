#pragma once
// What the program exits with, declared once: the code, its name in JSON
// reports, and its meaning for a split and for a batch, from which --help's
// footer and the man page's table are made.
#include <span>
#include <string>

namespace tessera::app {

enum class ExitStatus : int {
    Done = 0,
    Failed = 1,
    UsageError = 2,
    DoneWithWarnings = 3,
    PartlyDone = 4,
};

struct ExitStatusRow {
    ExitStatus status;
    const char* outcome;  // the JSON report's "outcome"
    const char* split;    // what it means for a split
    const char* batch;    // what it means for a batch; empty when a batch never ends so
};

std::span<const ExitStatusRow> ExitStatusRows();

// The number a process exits with.
constexpr int Code(ExitStatus status) { return static_cast<int>(status); }
// The JSON "outcome" of an exit code; "failed" for a code no row has.
std::string OutcomeName(int code);

// "Exit status: 0 done; 1 ...", the footer of --help.
std::string ExitStatusHelp();
// The man page's EXIT STATUS section.
std::string ExitStatusRoff();

}  // namespace tessera::app
