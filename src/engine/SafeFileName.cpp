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
    if (unchanged) *unchanged = clean;
    return out;
}

}  // namespace tessera
