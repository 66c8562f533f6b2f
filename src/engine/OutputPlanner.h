#pragma once
// The first stage of a run: which outputs there are and which pages each holds.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// Trims the folder and base name, switches linearized saving on for a
// linearized source, and plans the outputs by the split method. False stops
// the run (any message has been shown); a host error reading the document
// goes on to the command.
bool PlanOutputs(SplitSettings& settings, const DocumentHandle& source);

// Outputs of `pagesPerOutput` pages each; the last holds the remainder.
bool PlanEqualPages(const DocumentHandle& source, OutputList& outputs, int pagesPerOutput, int rangeOptions);
// One named output per bookmark between levels `low` and `high` (both included),
// each running to the next bookmark.
bool PlanBookmarkLevels(const DocumentHandle& source, OutputList& outputs, int low, int high);

}  // namespace tessera
