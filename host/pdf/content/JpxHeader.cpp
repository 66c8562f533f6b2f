#include "pdf/content/JpxHeader.h"

#include <algorithm>

namespace tessera::pdf {
namespace {

std::uint32_t Big(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return value;
}

// SIZ: marker, length, capabilities, then the image and tile grids, the
// component count and one depth byte (low 7 bits: depth - 1) per component.
std::optional<JpxGeometry> FromCodestream(std::string_view b) {
    if (b.size() < 42 || Big(b, 0, 2) != 0xFF4F || Big(b, 2, 2) != 0xFF51) return std::nullopt;
    const std::uint32_t right = Big(b, 8, 4), bottom = Big(b, 12, 4), left = Big(b, 16, 4), top = Big(b, 20, 4);
    const int components = static_cast<int>(Big(b, 40, 2));
    if (right <= left || bottom <= top || components == 0 || b.size() < 42 + 3 * static_cast<std::size_t>(components))
        return std::nullopt;
    int bits = 0;
    for (int c = 0; c < components; ++c)
        bits = std::max(bits, (static_cast<unsigned char>(b[42 + 3 * static_cast<std::size_t>(c)]) & 0x7F) + 1);
    return JpxGeometry{right - left, bottom - top, components, bits};
}

// ihdr: height, width, component count, depth byte (255: per component, taken as 8).
std::optional<JpxGeometry> FromImageHeader(std::string_view b, std::size_t at) {
    if (at + 11 > b.size()) return std::nullopt;
    const unsigned depth = static_cast<unsigned char>(b[at + 10]);
    const int bits = depth == 255 ? 8 : static_cast<int>(depth & 0x7F) + 1;
    const JpxGeometry g{Big(b, at + 4, 4), Big(b, at, 4), static_cast<int>(Big(b, at + 8, 2)), bits};
    if (g.width == 0 || g.height == 0 || g.components == 0) return std::nullopt;
    return g;
}

// Walks the boxes of the file, entering the JP2 header superbox. Entering a
// box narrows the walk to its body rather than recursing: a crafted file can
// nest header boxes as deep as its size allows.
std::optional<JpxGeometry> FromBoxes(std::string_view b) {
    std::size_t at = 0, end = b.size();
    while (at + 8 <= end) {
        std::uint64_t length = Big(b, at, 4);
        const std::string_view type = b.substr(at + 4, 4);
        std::size_t header = 8;
        if (length == 1 && at + 16 <= end) {
            length = (std::uint64_t{Big(b, at + 8, 4)} << 32) | Big(b, at + 12, 4);
            header = 16;
        }
        if (length == 0) length = end - at;  // the last box runs to the end
        if (length < header || length > end - at) return std::nullopt;
        if (type == "ihdr") return FromImageHeader(b, at + header);
        if (type == "jp2c") return FromCodestream(b.substr(at + header));
        if (type == "jp2h") {
            end = at + static_cast<std::size_t>(length);
            at += header;
        } else {
            at += static_cast<std::size_t>(length);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<JpxGeometry> ReadJpxHeader(std::string_view bytes) {
    if (bytes.size() >= 4 && Big(bytes, 0, 2) == 0xFF4F) return FromCodestream(bytes);
    return FromBoxes(bytes);
}

}  // namespace tessera::pdf
