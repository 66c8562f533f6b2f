#pragma once
#include "app/SplitOptions.h"

namespace tessera::app {

// Runs "tessera split"; returns the exit status.
int RunSplitCommand(const SplitRequest& request);

}  // namespace tessera::app
