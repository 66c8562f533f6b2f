#pragma once
// The text a glyph name stands for, read as the Adobe Glyph List's rules
// read it: the part before a period counts; underscores join components; a
// component is a name of the list, "uni" with one or more groups of four hex
// digits, or "u" with four to six. MuPDF reads single names the same way
// but reports a glyph that stands for several characters (uni0E4D0E32) as
// U+FFFD, which is where this takes over. A component may also be a
// Unicode character name in CamelCase (pdf/UnicodeNameGlyph.h), or a list
// name with one of the sizes TeX's math fonts add ("parenleftBig").
#include <cstddef>

namespace tessera::pdf {

// The longest text one glyph name is taken to stand for (a ligature).
inline constexpr std::size_t kMaxGlyphText = 8;

// Writes the code points of name into out (at most capacity) and returns how
// many; a component that means nothing is left out, and 0 means none did. Never throws and allocates
// nothing, so MuPDF's error handling can run around it.
std::size_t GlyphNameText(const char* name, int* out, std::size_t capacity) noexcept;

}  // namespace tessera::pdf
