#pragma once
// The dry-run listing of a plan: one line per output, three tab-separated
// fields: the 1-based output number, its file name relative to the output
// folder ("/" between subfolders), and its pages as 1-based runs ("1-3,7,9-12";
// a descending run is written high to low, "9-5"; empty for none). Then the
// page account's lines, each starting with a word instead of a number:
// "no-pages", the output number and name of an output without pages;
// "dropped", pages, reason, kind and value of pages dropped alike; and
// "in-no-output", the pages no output takes; "beyond-document", the number of
// an output and the pages one of its ranges asks for that the document lacks.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/CommandLineServices.h"

namespace tessera::app {

// The runs of consecutive pages, ascending or descending: first and last of each.
std::vector<std::pair<int, int>> PageRuns(const std::vector<int>& pages);
std::string FormatPageRuns(const std::vector<int>& pages);
// Consecutive dropped pages of one reason, kind and value, as one entry
// whose `page` is the first; `last` gives each entry's last page.
struct DroppedRun {
    host::DroppedPageEntry first;
    int last = 0;
};
std::vector<DroppedRun> DroppedRuns(const std::vector<host::DroppedPageEntry>& dropped);
void PrintPlan(std::ostream& out, const std::vector<host::PlannedOutput>& outputs, const host::PageAccount& account);

}  // namespace tessera::app
