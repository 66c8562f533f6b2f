#pragma once
// Layers (optional content) carried into an output: the declaration viewers
// list and switch them by, cut to the groups the output's pages use.
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Gives `out` the source's /OCProperties with the groups its pages use (in
// their resources, forms within forms, and annotations), and each
// configuration's order, on and off lists, locked and radio-button groups and
// usage lists cut to them; a label in the order stays only above a group that
// stays. Nothing is carried when the pages use no group.
void CarryOptionalContent(PdfDocument& out, PdfDocument& source);

}  // namespace tessera::pdf
