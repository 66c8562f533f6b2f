#include "engine/SafeFileName.h"

#include <cstring>

#include "strings/Utf8Text.h"

namespace tessera {
namespace {

bool IsUnsafe(unsigned char c, NameCharSet set) {
    if (c < 32 || c == 127) return true;
    if (c >= 128) return false;
    if (c == '\\') return set == NameCharSet::Bookmark;
    return std::strchr(".\"/*?<>|[]:;=,", c) != nullptr;
}

// The UTF-8 of characters that show nothing yet change what a listing shows:
// C1 controls, the line and paragraph separators, a byte-order mark, and the
// marks and overrides of bidirectional text, which make "exe.pdf" of
// "fdp.exe" in a file manager.
bool IsInvisibleControl(std::string_view at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return i < at.size() ? static_cast<unsigned char>(at[i]) : 0u; };
    length = 2;
    if (byte(0) == 0xC2 && byte(1) >= 0x80 && byte(1) <= 0x9F) return true;  // U+0080-009F
    if (byte(0) == 0xD8 && byte(1) == 0x9C) return true;                     // U+061C
    length = 3;
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return true;  // U+FEFF
    if (byte(0) != 0xE2) return false;
    if (byte(1) == 0x80) return byte(2) == 0x8E || byte(2) == 0x8F || (byte(2) >= 0xA8 && byte(2) <= 0xAE);
    return byte(1) == 0x81 && byte(2) >= 0xA6 && byte(2) <= 0xA9;  // U+2066-2069
}

std::string WithoutInvisibleControls(const std::string& text, bool& clean) {
    std::string out;
    for (std::size_t i = 0, length = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) >= 0xC2 &&
            IsInvisibleControl(std::string_view(text).substr(i), length)) {
            out += '_', i += length, clean = false;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

std::string MakeSafe(std::string_view text, NameCharSet set, bool* unchanged) {
    std::string out = set == NameCharSet::Bookmark ? CutToCharacters(text, 254) : std::string(text);
    bool clean = true;
    for (char& c : out) {
        if (IsUnsafe(static_cast<unsigned char>(c), set)) {
            c = '_';
            clean = false;
        }
    }
    out = WithoutInvisibleControls(out, clean);
    if (unchanged) *unchanged = clean;
    return out;
}

}  // namespace tessera
