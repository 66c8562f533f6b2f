#pragma once
#include "pdf/PdfDocument.h"

namespace tessera::pdf {

// Mends what plain page copying leaves wrong in an output, once all its pages
// are in:
// - a page that occurs twice gets annotations of its own, each pointing to it;
// - links whose target page is in the same output lead there, also when the
//   target was copied after the link or was named (copying turns both into
//   dead ends);
// - form fields whose widgets are on the output's pages are listed in the
//   output's form dictionary, without the widgets left behind.
void FinishOutput(PdfDocument& out);

}  // namespace tessera::pdf
