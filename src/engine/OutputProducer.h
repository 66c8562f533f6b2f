#pragma once
// Writes the planned and named outputs, one after the other, in list order.
#include <string>

#include "engine/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// All outputs; false stops the run (files written before stay on disk).
bool ProduceOutputs(const DocumentHandle& source, const SplitSettings& settings);
// Output `index`: its pages, document information, catalog entries, labels,
// security, and the file. An output whose ranges put no page in is skipped
// without a file and without a message.
bool ProduceOneOutput(const DocumentHandle& source, std::size_t index, const SplitSettings& settings,
                      const std::string& progressText);
// Appends the pages of [first, first + count) that pass the parity options to
// the output, descending with ReverseOrder; first makes the placeholder page
// the output starts with. False after showing the host's error.
bool InsertPageRange(const DocumentHandle& source, DocumentHandle& output, int first, int count, int options);

}  // namespace tessera
