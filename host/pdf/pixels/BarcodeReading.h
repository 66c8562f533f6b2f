#pragma once
// Barcodes and 2-D codes in a grey image, through zxing-cpp.
#include <optional>
#include <string>
#include <vector>

namespace tessera::pdf {

struct CodeReading {
    std::vector<std::string> texts;
    // The share of the image's pixels that are ink (darker than mid grey)
    // and lie outside every code found, with its quiet zone.
    double inkOutside = 0;
};

// The codes of the kinds (host::CodeKind bits) found in an 8-bit grey image
// (one byte per pixel, `stride` bytes per row), at most kMostCodes of them,
// within kCodeSecondsPerPage; nothing where the reader failed on the image
// or was given up on (then `timedOut` says so). Never throws.
inline constexpr int kMostCodes = 16;
inline constexpr unsigned kCodeSecondsPerPage = 10;
std::optional<CodeReading> ReadCodes(const unsigned char* pixels, int width, int height, int stride, unsigned kinds,
                                     bool* timedOut = nullptr) noexcept;

}  // namespace tessera::pdf
