#pragma once
// Glyph names kept in an embedded font program itself (a TrueType 'post'
// table, a Type 1 or CFF charset), for the glyphs a PDF's dictionaries leave
// unnamed. The FreeType face is the one MuPDF draws with and shares between
// threads, so every call here holds the context's FreeType lock.
#include <cstddef>

#include <mupdf/fitz.h>

namespace tessera::pdf {

// MuPDF's fz_lock checks the order of locks in builds without NDEBUG through
// functions the packaged library leaves out; the lock itself is the context's.
void LockFreetype(fz_context* ctx);
void UnlockFreetype(fz_context* ctx);

// The text of the name glyph has in font's program, read by the rules of
// GlyphNameText, into out (at most capacity); 0 when the program names no
// glyphs or the name means nothing. Never throws.
std::size_t GlyphProgramText(fz_context* ctx, fz_font* font, int glyph, int* out, std::size_t capacity) noexcept;

}  // namespace tessera::pdf
