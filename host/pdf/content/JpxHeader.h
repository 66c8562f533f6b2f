#pragma once
// The size of a JPEG 2000 image as its own header tells it: a PDF leaves
// the colour space and depth of such an image to the codestream.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessera::pdf {

struct JpxGeometry {
    std::uint32_t width = 0, height = 0;
    int components = 0;
    int bits = 0;  // of the deepest component
};

// Reads a JP2 file's image header box, or a bare codestream's SIZ marker;
// none when the bytes are neither or are cut short.
std::optional<JpxGeometry> ReadJpxHeader(std::string_view bytes);

}  // namespace tessera::pdf
