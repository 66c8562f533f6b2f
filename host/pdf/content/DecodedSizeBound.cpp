#include "pdf/content/DecodedSizeBound.h"

#include <limits>
#include <string>
#include <vector>

namespace tessera::pdf {
namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

// The most bytes one stored byte can become. Deflate spends at least two bits
// on a copy of 258 bytes; an LZW code has at least 9 bits and stands for at
// most 4096 bytes; a run-length pair repeats one byte up to 128 times; ASCII85
// writes four zero bytes as one "z". A little slack per stage covers headers
// and a first literal.
double ByteExpansion(const std::string& name) {
    if (name == "/FlateDecode" || name == "/Fl") return 1032;
    if (name == "/LZWDecode" || name == "/LZW") return 4096.0 * 8 / 9;
    if (name == "/RunLengthDecode" || name == "/RL") return 64;
    if (name == "/ASCII85Decode" || name == "/A85") return 4;
    if (name == "/ASCIIHexDecode" || name == "/AHx") return 1;
    return kUnbounded;
}
constexpr double kStageSlack = 1024;

// An image codec's output, from the most bytes that reach it. Huffman-coded
// JPEG spends at least one bit on every 8x8 block of its fullest component,
// so it holds at most 512 pixels a byte; CCITT fax spends at least one bit on
// every row.
double CodecOutput(const std::string& name, double input, const ImageLayout& layout) {
    const double rowBytes = (static_cast<double>(layout.width) * layout.components * layout.bits + 7) / 8;
    if (name == "/DCTDecode" || name == "/DCT")
        return (input * 512 + kStageSlack) * static_cast<double>(layout.components);
    if (name == "/CCITTFaxDecode" || name == "/CCF") return (input * 8 + 1) * rowBytes;
    return input * ByteExpansion(name) + kStageSlack;
}

std::vector<std::string> FilterNames(QPDFObjectHandle filters) {
    std::vector<std::string> names;
    if (filters.isName())
        names.push_back(filters.getName());
    else if (filters.isArray())
        for (QPDFObjectHandle f : filters.aitems()) names.push_back(f.isName() ? f.getName() : std::string());
    return names;
}

}  // namespace

bool CouldDecodeTo(const QPDFObjectHandle& filters, std::int64_t storedLength, const ImageLayout& layout,
                   std::int64_t dataLength) {
    double most = static_cast<double>(storedLength);
    for (const std::string& name : FilterNames(filters)) most = CodecOutput(name, most, layout);
    return static_cast<double>(dataLength) <= most;
}

}  // namespace tessera::pdf
