#pragma once
// The first stage of a run: which outputs there are and which pages each holds.
#include <optional>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// Trims the folder and base name, switches linearized saving on for a
// linearized source, and plans the outputs by the split method. False stops
// the run (any message has been shown); a host error reading the document
// goes on to the command.
bool PlanOutputs(SplitSettings& settings, const DocumentHandle& source);
// True when the method has a planner: every row of SplitMethodRows must.
bool HasPlanner(SplitMethod method);

// Outputs of `pagesPerOutput` pages each; the last holds the remainder. None
// without a document or for fewer than one page per output.
std::optional<OutputList> PlanEqualPages(const DocumentHandle& source, int pagesPerOutput, PageRangeFlags rangeOptions);
// One named output per bookmark between levels `low` and `high` (both included),
// each running to the next bookmark. None for a negative level.
std::optional<OutputList> PlanBookmarkLevels(const DocumentHandle& source, int low, int high);
// The range one bookmark would get in a split by bookmarks from the top level
// down to its own; none when it leads to no page.
std::optional<PageRange> PlanBookmarkRange(const DocumentHandle& source, host::BookmarkRef bookmark);

}  // namespace tessera
