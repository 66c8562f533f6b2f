#pragma once
// "Split Document" as a command of the host's batch sequences: parameters
// kept as a profile cabinet, edited in the settings dialog, run on each
// document of a sequence.
#include "host/BatchServices.h"
#include "host/PlugInNames.h"

namespace tessera {

using host::kSplitCommandName;

// The handler record the host calls, as installation registers it.
const host::CommandHandler& SplitBatchHandler();

// At start-up and unload: nothing stays registered and nothing is released twice.
void InstallBatchCommand();
void RemoveBatchCommand();

}  // namespace tessera
