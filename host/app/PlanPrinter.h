#pragma once
// The dry-run listing of a plan: one line per output, three tab-separated
// fields: the 1-based output number, its file name relative to the output
// folder ("/" between subfolders), and its pages as 1-based runs ("1-3,7,9-12";
// a descending run is written high to low, "9-5").
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/CommandLineServices.h"

namespace tessera::app {

// The runs of consecutive pages, ascending or descending: first and last of each.
std::vector<std::pair<int, int>> PageRuns(const std::vector<int>& pages);
std::string FormatPageRuns(const std::vector<int>& pages);
void PrintPlan(std::ostream& out, const std::vector<host::PlannedOutput>& outputs);

}  // namespace tessera::app
