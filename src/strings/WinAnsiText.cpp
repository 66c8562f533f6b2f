#include "strings/WinAnsiText.h"

#include "strings/Utf8Text.h"

namespace tessera {
namespace {

// The characters of codes 0x80 to 0x9F; 0 where the code page leaves a gap.
constexpr char16_t kHighCodes[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> Code(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHighCodes[i] != 0 && kHighCodes[i] == c) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FirstCharacterOutsideWinAnsi(std::string_view utf8) {
    for (const Utf8Character& c : Characters(utf8))
        if (!Code(c.code)) return std::string(c.bytes);
    return std::nullopt;
}

std::string ToWinAnsi(std::string_view utf8) {
    std::string codes;
    for (const Utf8Character& c : Characters(utf8)) codes += Code(c.code).value_or('?');
    return codes;
}

}  // namespace tessera
