#include "pdf/text/UnicodeNameGlyph.h"

#include <unicode/uchar.h>

namespace tessera::pdf {
namespace {

bool IsSmall(char c) { return c >= 'a' && c <= 'z'; }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Lookup(const char* words) {
    UErrorCode status = U_ZERO_ERROR;
    const UChar32 c = u_charFromName(U_UNICODE_CHAR_NAME, words, &status);
    return U_SUCCESS(status) && c > 0 ? static_cast<int>(c) : 0;
}

// The words up to end, then with a hyphen between the last two of them.
int LookupWords(char* words, std::size_t end, const std::size_t* spaces, std::size_t count) {
    words[end] = '\0';
    if (const int found = Lookup(words)) return found;
    if (count == 0) return 0;
    words[spaces[count - 1]] = '-';
    const int found = Lookup(words);
    words[spaces[count - 1]] = ' ';
    return found;
}

}  // namespace

int UnicodeNameGlyph(const char* name, std::size_t size) noexcept {
    // The longest Unicode character name has 88 characters.
    char words[128];
    std::size_t spaces[64];
    std::size_t used = 0, count = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = name[i];
        if (used + 2 >= sizeof words) return 0;
        if (c == '_') {
            if (used == 0 || i + 1 == size || !IsSmall(name[i + 1])) return 0;
            words[used++] = '-';
            continue;
        }
        if (!IsSmall(c) && !IsCapital(c) && !IsDigit(c)) return 0;
        const char before = used ? words[used - 1] : ' ';
        const bool startsWord = IsCapital(c) || (IsDigit(c) && !IsDigit(before));
        if (startsWord && before != ' ' && before != '-') {
            spaces[count++] = used;
            words[used++] = ' ';
        }
        words[used++] = IsSmall(c) ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (used == 0) return 0;
    if (const int found = LookupWords(words, used, spaces, count)) return found;
    // A font maker's variant of a glyph adds words to its character's name
    // ("ThaiCharacterMaiHan_akatLeft", "ThaiCharacterYoYingNoDescender"); a
    // name of three words or more is what may be left of the character's.
    for (int dropped = 0; dropped < 2 && count >= 3; ++dropped) {
        const std::size_t end = spaces[--count];
        if (const int found = LookupWords(words, end, spaces, count)) return found;
    }
    return 0;
}

}  // namespace tessera::pdf
