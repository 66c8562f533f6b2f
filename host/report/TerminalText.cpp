#include "report/TerminalText.h"

#include <cstdint>
#include <cstdio>

namespace tessera::app {
namespace {

// The code point of the UTF-8 sequence at `text[at]` and its length; a byte
// that starts no sequence stands for itself.
std::uint32_t CodePoint(std::string_view text, std::size_t at, std::size_t& length) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || at + length > text.size()) return length = 1, lead;
    std::uint32_t point = lead & (0x3Fu >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return length = 1, lead;
        point = point << 6 | (next & 0x3Fu);
    }
    return point;
}

bool ShowsNothing(std::uint32_t point) {
    return (point >= 0x80 && point <= 0x9F) || point == 0x61C || point == 0x200E || point == 0x200F ||
           (point >= 0x2028 && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069) || point == 0xFEFF;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0, length = 1; at < text.size(); at += length)
        if (CodePoint(text, at, length) >= 0x80 && length == 1) return false;
    return true;
}

std::string EscapedForTerminal(std::string_view text, bool keepBreaks) {
    std::string out;
    char escape[12];
    for (std::size_t at = 0, length = 1; at < text.size(); at += length) {
        const std::uint32_t point = CodePoint(text, at, length);
        if ((point == '\n' || point == '\t') && keepBreaks)
            out += static_cast<char>(point);
        else if (point == '\n')
            out += "\\n";
        else if (point == '\t')
            out += "\\t";
        else if (point == '\r')
            out += "\\r";
        else if (point == '\\' && !keepBreaks)
            out += "\\\\";
        else if (length == 1 && (point < 0x20 || point == 0x7F)) {
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(point));
            out += escape;
        } else if (ShowsNothing(point)) {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(point));
            out += escape;
        } else {
            out.append(text.substr(at, length));
        }
    }
    return out;
}

}  // namespace tessera::app
