#pragma once
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Mends what plain page copying leaves wrong in an output, once all its pages
// are in:
// - links whose target page is in the same output lead there, also when the
//   target was copied after the link or was named (copying turns both into
//   dead ends), unless the plug-in took the links over;
// - form fields whose widgets are on the output's pages are listed in the
//   output's form dictionary, without the widgets left behind;
// - the open-item counts of an outline built into the output are set;
// - pages and annotations keep no numbers into a structure tree the output
//   lacks;
// - the metadata carried says what is true of the output (ids of its own when
//   deterministic is false, else made from its content).
void FinishOutput(PdfDocument& out, bool deterministic);

}  // namespace tessera::pdf
