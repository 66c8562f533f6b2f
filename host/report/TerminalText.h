#pragma once
// Text from pages, codes and files, made safe to print on a terminal: an
// escape sequence on a page must not recolour, move or retitle the user's
// terminal, nor a bidirectional override turn what a line says around.
#include <string>
#include <string_view>

namespace tessera::app {

// Control characters as C escapes ("\x1b", "\n"), C1 controls, line and
// paragraph separators, byte-order marks and bidirectional marks as "\u202e";
// "\" doubled. Line breaks and tabs stay with `keepBreaks` (a message's own).
std::string EscapedForTerminal(std::string_view text, bool keepBreaks);

// Whether every byte of the text belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

}  // namespace tessera::app
