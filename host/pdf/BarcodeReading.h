#pragma once
// Barcodes and 2-D codes in a grey image, through zxing-cpp.
#include <string>
#include <vector>

namespace tessera::pdf {

// The text of the first code found in an 8-bit grey image (one byte per
// pixel, `stride` bytes per row): one text or none. Never throws.
std::vector<std::string> ReadCodes(const unsigned char* pixels, int width, int height, int stride) noexcept;

}  // namespace tessera::pdf
