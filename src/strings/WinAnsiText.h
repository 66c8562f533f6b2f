#pragma once
// Texts for the standard PDF fonts, whose character codes are those of the
// WinAnsi encoding (the Windows-1252 code page): Latin-1 with typographic
// quotes, dashes, the euro sign and a few letters in 0x80..0x9F.
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// The first character of a UTF-8 text that has no WinAnsi code, as it is
// written in the text; none when every character has one.
std::optional<std::string> FirstCharacterOutsideWinAnsi(std::string_view utf8);
// The text's WinAnsi codes; "?" for a character that has none.
std::string ToWinAnsi(std::string_view utf8);

}  // namespace tessera
