#pragma once
// How much data a stored stream could possibly decode to: an image whose
// dictionary claims more than that describes some other image, and its
// stored-to-decoded ratio says nothing about how blank it is.
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>

namespace tessera::pdf {

// The shape of an image's decoded data.
struct ImageLayout {
    long long width = 0, height = 0;
    long long components = 0, bits = 0;
};

// Whether storedLength bytes run through the stream's filters (a name or an
// array of names, first applied first) could yield dataLength bytes of an
// image of this layout. Filters whose output nothing bounds (JBIG2, JPEG 2000,
// arithmetic-coded data, unknown names) leave the claim unchallenged.
bool CouldDecodeTo(const QPDFObjectHandle& filters, std::int64_t storedLength, const ImageLayout& layout,
                   std::int64_t dataLength);

}  // namespace tessera::pdf
