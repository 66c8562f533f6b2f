#pragma once
// The metadata an output carries from its source, made true of the output.
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Brings out's XMP packet (a copy of its source's) up to date, when it has
// one: ids of its own (the instance and the document; made from its content
// when the run must repeat itself, else at random), and the fields of its
// information dictionary (title, author, subject, keywords, creator tool,
// producer, creation and modification dates). Claims the file no longer
// honours are taken out and noted in out.droppedClaims: a PDF/A
// identification, with /OutputIntents, when out is encrypted, keeps
// JavaScript actions, or (PDF/A-1) has drawing with transparency added; a
// PDF/UA identification without a structure tree. Running it again on the
// same output gives the same file.
void UpdateMetadata(PdfDocument& out, bool deterministic);

}  // namespace tessera::pdf
