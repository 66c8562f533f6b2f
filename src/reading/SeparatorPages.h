#pragma once
// Cutting the source document at separator pages.
#include <vector>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// The 0-based pages that are separators: blank pages, blank scans (threshold
// is the largest stored-to-data ratio of a blank image, not included), or
// pages whose text matches the query. False when the query does not compile
// or the mode is unknown; host errors reading a page's text pass to the caller.
// A scan of many pages may be spread over up to `workers` of the host's
// worker processes, with the same pages and messages.
bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                           double threshold, const TextQuery& query, unsigned workers = 1);

// Appends one output per stretch between separators. A text separator starts
// the next output; a blank separator belongs to no output unless it is kept,
// when it starts the next one too. No output is empty.
bool SplitAtSeparators(const DocumentHandle& document, OutputList& outputs, SeparatorKind separatorType,
                       double threshold, const TextQuery& query, unsigned workers = 1, bool keepSeparators = false,
                       const OutputSettings* sheet = nullptr);

// The 0-based pages that are sheets of the output settings' colour, tolerance
// and share; false without a word finder.
bool BuildSheetPageList(const DocumentHandle& document, std::vector<int>& pages, const OutputSettings& output,
                        unsigned workers = 1);

}  // namespace tessera
