#pragma once
// Writes an output whose pages hold stand-ins (pdf/writing/PageStubs.h):
// its own objects as the object model has them, every stood-in source object
// from bytes made once for all outputs, its stream data as stored; plain or
// packed into object streams, as qpdf's writer would write it.
#include <cstdint>
#include <functional>
#include <string_view>

#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Whether WriteDirect can write `doc` as saved with `saveFlags`: it has
// stand-ins, and needs nothing only qpdf's writer does (encryption,
// linearization, extension levels).
bool CanWriteDirect(PdfDocument& doc, std::uint16_t saveFlags);

enum class FileId { Random, Static, FromContent };

// Hands the file's bytes to `sink` in pieces; `pack` puts every object but
// streams into object streams, found by a cross-reference stream.
void WriteDirect(PdfDocument& doc, FileId id, bool pack, const std::function<void(std::string_view)>& sink);

}  // namespace tessera::pdf
