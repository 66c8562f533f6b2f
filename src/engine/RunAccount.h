#pragma once
// What a run planned and what became of each output, in the terms the host
// reports to scripts: full paths, 1-based pages, a status per output.
#include <string>
#include <vector>

#include "engine/OutputNaming.h"
#include "engine/RunSplit.h"
#include "host/CommandLineServices.h"

namespace tessera {

// The named plan; `entries` are the index entries naming gave it.
std::vector<host::PlannedOutput> PlannedOutputs(const SplitSettings& settings, const std::vector<IndexEntry>& entries,
                                                int pageCount);
// Each planned output after the run; none when the run stopped before it
// began to write.
std::vector<host::ReportedOutput> ReportedOutputs(const SplitSettings& settings, const SplitResult& result,
                                                  int pageCount);

}  // namespace tessera
