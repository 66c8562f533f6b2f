#pragma once
// Turning the query ranges of a hand-made output list into plain ranges.
#include "access/DocumentHandle.h"
#include "model/OutputDocument.h"
#include "model/SplitSettings.h"

namespace tessera {

// Scans pages first..last (0 and -1: the whole document) once, matching every
// complete query range on each page, then rewrites the list: each found page
// becomes a one-page range (each first/last pair one range for page-range
// queries), plain ranges stay; an output left without ranges stays too. False without
// a document or outputs; host errors reading a page's text pass to the caller.
// Text is read ahead on up to `threads` threads (PageTextExtractor::Attach).
// Text is read by OCR as `ocr` says.
bool ResolveQueryRanges(const DocumentHandle& document, OutputList& outputs, int first, int last,
                        const OcrSettings& ocr = {}, unsigned threads = 0);

}  // namespace tessera
