#pragma once
// Writes the planned and named outputs: in list order, or spread over the
// host's worker processes with the same files, alerts and outcome.
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
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
// its own goes on to the command. A file already written in this run (by any
// name) is refused, so that no output can replace another.
Production ProduceOutputs(const DocumentHandle& source, const SplitSettings& settings);
// The files a batch run has written so far, kept across its splits so that one
// file's outputs never replace another's (prefixes are the user's to choose,
// and "none" gives every file of a folder the same names); null outside one.
void SetBatchWrittenFiles(WrittenFiles* files);
// The files of this run's batch, or null outside one.
WrittenFiles* BatchWrittenFiles();
// Output `index`: its pages, document information, catalog entries, labels,
// security, and the file. An output whose ranges put no page in is left out
// without a file.
OutputOutcome ProduceOneOutput(const DocumentHandle& source, std::size_t index, const SplitSettings& settings,
                               const std::string& progressText);
// Appends the pages of [first, first + count) that pass the parity options to
// the output, descending with ReverseOrder; first makes the placeholder page
// the output starts with. False when either handle holds no document.
bool InsertPageRange(const DocumentHandle& source, DocumentHandle& output, int first, int count,
                     PageRangeFlags options);

}  // namespace tessera
