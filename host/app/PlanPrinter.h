#pragma once
// The dry-run listing of a plan: one line per output, three tab-separated
// fields: the 1-based output number, its name, and its pages as 1-based runs
// ("1-3,7,9-12"; a descending run is written high to low, "9-5").
#include <ostream>
#include <string>
#include <vector>

#include "model/OutputDocument.h"

namespace tessera::app {

std::string FormatPageRuns(const std::vector<int>& pages);
void PrintPlan(std::ostream& out, const OutputList& outputs, const std::vector<std::string>& names,
               int sourcePageCount);

}  // namespace tessera::app
