#pragma once
// Text helpers for UTF-8, the encoding of every text in Tessera. Lengths given
// in characters count code points and never cut a sequence in two.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

// White space as the C library's isspace sees it in the "C" locale.
bool IsBlank(char c);
std::string TrimText(std::string_view text);
std::string TrimRight(std::string_view text);

// One character of a text: its code point and its bytes. A byte that is not
// valid UTF-8 is a character of its own, with the replacement code point U+FFFD.
struct Utf8Character {
    char32_t code;
    std::string_view bytes;
};
std::vector<Utf8Character> Characters(std::string_view text);

std::size_t CountCharacters(std::string_view text);
// The first `count` characters of text.
std::string CutToCharacters(std::string_view text, std::size_t count);
// At most `bytes` bytes of text, never ending inside a sequence.
std::string CutToBytes(std::string_view text, std::size_t bytes);
// Each character upper-cased as the C library does under a UTF-8 locale;
// bytes that are not valid UTF-8 are kept as they are.
std::string UpperCase(std::string_view text);

}  // namespace tessera
