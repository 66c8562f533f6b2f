#pragma once
// Glyph names that are Unicode character names written in CamelCase, as some
// font makers name the glyphs of scripts the Adobe Glyph List leaves out:
// "ThaiCharacterKoKai" is THAI CHARACTER KO KAI, U+0E01, and a hyphen inside
// a name is written as an underscore before a small letter
// ("ThaiCharacterMaiHan_akat" is THAI CHARACTER MAI HAN-AKAT).
#include <cstddef>

namespace tessera::pdf {

// The character the first `size` bytes of name call by its Unicode name; 0
// when they call none. Where the words as split name nothing, the last two
// are tried joined by a hyphen, as names written without the underscore have
// them; where that names nothing either, one or two words less at the end,
// as a glyph variant's name has them. Never throws and allocates nothing, so that MuPDF's error handling
// can run around it.
int UnicodeNameGlyph(const char* name, std::size_t size) noexcept;

}  // namespace tessera::pdf
