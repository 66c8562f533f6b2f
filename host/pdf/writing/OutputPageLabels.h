#pragma once
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Gives an output the page labels its pages had in their sources (a page
// without one gets an empty label), unless the output's labels were removed.
void CarryPageLabels(PdfDocument& out);

}  // namespace tessera::pdf
