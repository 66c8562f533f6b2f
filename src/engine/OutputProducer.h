#pragma once
// Writes the planned and named outputs: in list order, or spread over the
// host's worker processes with the same files, alerts and outcome.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "engine/RunContext.h"
#include "engine/RunEnd.h"
#include "engine/WrittenFiles.h"
#include "model/SplitSettings.h"

namespace tessera {

enum class OutputOutcome { Failed, Written, NoPages };

struct Production {
    RunEnd end = RunEnd::Failed;
    std::vector<bool> written;  // per planned output reached, in list order
    std::string refusal;        // the failure's message, when the run itself refused an output
};

// All outputs in list order; the first failure stops the run (files written
// before stay on disk, those of later outputs that workers finished meanwhile
// are removed). A host error that no step answers with a message of
// its own goes on to the command. A file already written in this run, or in
// the context's batch (by any name), is refused, so that no output can replace
// another; the files written are noted in the batch's.
Production ProduceOutputs(const DocumentHandle& source, const SplitSettings& settings, const RunContext& context = {});
// Output `index`: its pages, document information, catalog entries, labels,
// security, and the file. An output whose ranges put no page in is left out
// without a file.
OutputOutcome ProduceOneOutput(const DocumentHandle& source, std::size_t index, const SplitSettings& settings);
// The bytes output `index` would take on disk, counted without a file and
// kept in `file` when it is given; none when it would have no pages or could
// not be made (alerts are shown).
std::optional<std::uint64_t> MeasureOneOutput(const DocumentHandle& source, std::size_t index,
                                              const SplitSettings& settings, std::string* file = nullptr);
// Appends the pages of [first, first + count) that pass the parity options to
// the output, descending with ReverseOrder; first makes the placeholder page
// the output starts with. False when either handle holds no document.
bool InsertPageRange(const DocumentHandle& source, DocumentHandle& output, int first, int count,
                     PageRangeFlags options);

}  // namespace tessera
