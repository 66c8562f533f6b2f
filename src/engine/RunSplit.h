#pragma once
// The split engine's entry: plan, name, produce, index.
#include <ctime>
#include <vector>

#include "engine/DocumentHandle.h"
#include "engine/OutputNaming.h"
#include "model/SplitSettings.h"

namespace tessera {

// Plans and names the outputs without writing anything. False when the run
// would stop (its message shown). With no output planned the entries are empty.
bool PlanAndName(SplitSettings& settings, const DocumentHandle& source, const std::tm& today,
                 std::vector<IndexEntry>& entries);

// The whole run. True when it completed, possibly with no output; false when
// it stopped on a failure that has been shown.
bool RunSplit(SplitSettings& settings, const DocumentHandle& source);

// Today in local time.
std::tm LocalToday();

}  // namespace tessera
