#pragma once
// Characters MuPDF reads as U+FFFD because it cannot name their glyph, named
// from the glyph names of the font's /Encoding /Differences or of its embedded
// program, or for a CIDFont from the font program's own cmap. MuPDF keeps each
// font it has loaded, so the names given here hold for every later page that
// uses the font, until MuPDF drops the font to save memory.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

// Works on the fonts that MuPDF's 0-based page index uses, through
// its resources, forms and Type 3 glyphs. True when some character got a
// name; never throws.
bool NameUnnamedGlyphs(fz_context* ctx, pdf_document* doc, int index);

// Whether the text holds characters MuPDF could not name.
bool HasUnnamedCharacters(const fz_stext_page& text);

}  // namespace tessera::pdf
