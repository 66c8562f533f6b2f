#include "cli/ExitStatus.h"

namespace tessera::app {
namespace {

constexpr ExitStatusRow kRows[] = {
    {ExitStatus::Done, "done", "done", "every file split"},
    {ExitStatus::Failed, "failed", "failed, nothing written", "none"},
    {ExitStatus::UsageError, "usage-error", "usage error", ""},
    {ExitStatus::DoneWithWarnings, "done-with-warnings",
     "done with warnings (a repaired input, a page read in part, pages in no output, an output without pages, no "
     "separator found; 0 with --warning-exit-0)",
     "every file split but some with warnings"},
    {ExitStatus::PartlyDone, "partly-done",
     "partly done: some outputs written, then a failure (they stay, and --json lists them)",
     "some files split and others not"},
};

constexpr const char* kSignalText = "A run stopped by a signal ends with the signal.";

// "0 every file split, 3 ..., 1 none": the best ending first, as a batch's are read.
std::string BatchEndings() {
    std::string text;
    for (ExitStatus status :
         {ExitStatus::Done, ExitStatus::DoneWithWarnings, ExitStatus::PartlyDone, ExitStatus::Failed})
        text += (text.empty() ? "" : ", ") + std::to_string(Code(status)) + " " + kRows[Code(status)].batch;
    return text;
}

// Text as roff reads it: hyphens as hyphens, not as breakable dashes.
std::string RoffText(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

}  // namespace

std::span<const ExitStatusRow> ExitStatusRows() { return kRows; }

std::string OutcomeName(int code) {
    for (const ExitStatusRow& row : kRows)
        if (Code(row.status) == code) return row.outcome;
    return "failed";
}

std::string ExitStatusHelp() {
    std::string text = "Exit status:";
    for (const ExitStatusRow& row : kRows)
        text += (Code(row.status) == 0 ? " " : "; ") + std::to_string(Code(row.status)) + " " + row.split;
    return text + ". " + kSignalText + " For a batch: " + BatchEndings() + ".";
}

std::string ExitStatusRoff() {
    std::string roff = ".SH EXIT STATUS\n";
    for (const ExitStatusRow& row : kRows)
        roff += ".TP\n" + std::to_string(Code(row.status)) + "\n" + RoffText(row.split) + "\n";
    return roff + ".PP\n" + kSignalText + " For a batch: " + RoffText(BatchEndings()) + ".\n";
}

}  // namespace tessera::app
