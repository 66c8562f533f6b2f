#pragma once
// The text of an embedded TrueType CIDFont that has no ToUnicode map: the
// font program's own Unicode cmap, read from glyph back to character and
// reached from each CID through the font's /CIDToGIDMap. pdftotext prints
// such glyph numbers as if they were characters; MuPDF reads U+FFFD.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

// Gives the composite font `dictionary` a ToUnicode map made so, when it is
// such a font; true when it got one. MuPDF keeps the map with the font it
// has loaded. Throws MuPDF's errors.
bool NameCidTrueTypeFont(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* dictionary);

}  // namespace tessera::pdf
