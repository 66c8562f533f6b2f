#pragma once
// The size of an image's decoded data, from its dictionary alone: decoding a
// scan only to count its bytes would cost more than the whole page test.
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>

namespace tessera::pdf {

// Rows of Width x components x BitsPerComponent bits, each padded to a byte,
// times Height. 0 when the dictionary does not say (a JPEG 2000 image that
// leaves its colour space to the codestream, for example) or is malformed.
std::int64_t ImageDataLength(QPDFObjectHandle imageDict, QPDFObjectHandle resources);

// Colour components of a colour space (a name, a resource name or an array); 0 when unknown.
int ColorComponents(QPDFObjectHandle space, QPDFObjectHandle resources);

}  // namespace tessera::pdf
