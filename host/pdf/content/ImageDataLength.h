#pragma once
// The size of an image's decoded data, from its dictionary alone: decoding a
// scan only to count its bytes would cost more than the whole page test.
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>

namespace tessera::pdf {

// Rows of Width x components x BitsPerComponent bits, each padded to a byte,
// times Height. 0 when the dictionary does not say, is malformed, or gives a
// size that overflows.
std::int64_t ImageDataLength(const QPDFObjectHandle& imageDict, const QPDFObjectHandle& resources);

// The same for an image XObject stored in storedLength bytes; a JPEG 2000
// image's own header gives what its dictionary leaves out (only its first
// bytes matter, but qpdf reads the stored stream whole). 0 ("unknown") also
// when the stored bytes could never decode to that much: the dictionary then
// overstates the image, and its ratio would make any image look blank.
std::int64_t XObjectImageDataLength(QPDFObjectHandle image, const QPDFObjectHandle& resources,
                                    std::int64_t storedLength);

// Colour components of a colour space (a name, a resource name or an array); 0 when unknown.
int ColorComponents(QPDFObjectHandle space, QPDFObjectHandle resources);

}  // namespace tessera::pdf
