#pragma once
// Cutting the source document at separator pages.
#include <vector>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"
#include "reading/PagePixelReader.h"

namespace tessera {

// The 0-based pages that are separators: blank pages, blank scans (threshold
// is the largest stored-to-data ratio of a blank image, not included), or
// pages whose text matches the query. False when the query does not compile
// or the mode is unknown; host errors reading a page's text pass to the caller.
// A scan of many pages may be spread over up to `workers` of the host's
// worker processes, with the same pages and messages. Text is read by OCR as `ocr` says.
bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                           double threshold, const TextQuery& query, unsigned workers = 1, const OcrSettings& ocr = {});

// Appends one output per stretch between separators. A text separator starts
// the next output; another separator belongs to no output unless the options
// keep it, when it starts the next one too, and is else appended to
// `dropped` (when given) with what made it one; `found` counts the
// separators. The options also give a sheet's colour and whether pages come
// in duplex sheets, and how text is read by OCR (as OcrSettings{} without
// them). No output is empty.
bool SplitAtSeparators(const DocumentHandle& document, OutputList& outputs, SeparatorKind separatorType,
                       double threshold, const TextQuery& query, unsigned workers = 1,
                       const OutputSettings* options = nullptr, std::vector<DroppedPage>* dropped = nullptr,
                       int* found = nullptr);

// Whether a page is blank as the back of a sheet is: no content, a scan
// without ink at the threshold, or a page that, drawn through the extractor,
// lies near white all but for specks. False for a page that cannot be read.
bool IsBlankBack(const DocumentHandle& document, PagePixelReader& pixels, int page, double threshold);

// The separators of a duplex scan: only fronts (even 0-based pages) count;
// each comes with its back where the back is blank or a separator too.
// Returns the pages to drop; `separators` keeps the fronts.
std::vector<int> DuplexSheets(const DocumentHandle& document, std::vector<int>& separators, double threshold);

// The 0-based pages that are sheets of the output settings' colour, tolerance
// and share; false without a word finder. With `shares`, each sheet's share
// of the colour too, in percent.
bool BuildSheetPageList(const DocumentHandle& document, std::vector<int>& pages, const OutputSettings& output,
                        unsigned workers = 1, std::vector<int>* shares = nullptr);

}  // namespace tessera
