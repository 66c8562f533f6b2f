#pragma once
// How many worker processes a run spreads its work over.
#include "model/SplitSettings.h"

namespace tessera {

// --jobs, or one per core when it is not given; 1 when the host has no
// workers to offer.
unsigned WorkerCount(const SplitSettings& settings);

}  // namespace tessera
