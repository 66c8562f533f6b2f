#pragma once
// Barcodes and 2-D codes in a grey image, through zxing-cpp.
#include <optional>
#include <string>
#include <vector>

namespace tessera::pdf {

// The text of the first code of the kinds (host::CodeKind bits) found in an
// 8-bit grey image (one byte per pixel, `stride` bytes per row): one text or
// none; nothing where the reader failed on the image. Never throws.
std::optional<std::vector<std::string>> ReadCodes(const unsigned char* pixels, int width, int height, int stride,
                                                  unsigned kinds) noexcept;

}  // namespace tessera::pdf
