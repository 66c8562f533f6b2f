#pragma once
// The text of an embedded CIDFont that has no ToUnicode map and no
// character collection MuPDF knows: the font program's own Unicode cmap,
// read from glyph back to character, and where that reaches no character the
// glyph's name in the program; each CID reaches its glyph through the font's
// /CIDToGIDMap. pdftotext prints such glyph numbers as if they were
// characters; MuPDF reads U+FFFD.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

// Gives the composite font `dictionary` a ToUnicode map made so, when it is
// such a font; true when it got one. MuPDF keeps the map with the font it
// has loaded. Throws MuPDF's errors.
bool NameCidFont(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* dictionary);

}  // namespace tessera::pdf
