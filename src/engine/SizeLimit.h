#pragma once
// Outputs that fit a size limit: an output the plan makes larger on disk than
// Output.MaxOutputBytes is cut into consecutive parts, each of as many pages
// as fit. Sizes are measured by making each candidate as the run will write
// it (security, linearization, watermarks, links and bookmarks), counting
// its bytes without a file.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// Cuts the planned outputs, before they are named. Parts of an output take
// Part and Parts, except in a split by size, whose parts are outputs of their
// own. False, with the reason shown and nothing written, where a page alone
// is larger than the limit (unless allowed: then it is a part of its own, and
// said) or a candidate cannot be made.
bool FitToSizeLimit(SplitSettings& settings, const DocumentHandle& source);

}  // namespace tessera
