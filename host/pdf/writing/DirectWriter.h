#pragma once
// Writes an output whose pages hold stand-ins (pdf/writing/PageStubs.h):
// its own objects as the object model has them, every stood-in source object
// from bytes made once for all outputs, its stream data as stored. A plain
// file with a cross-reference table, as qpdf writes an output that is not
// packed into object streams.
#include <cstdint>
#include <functional>
#include <string_view>

#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Whether WriteDirect can write `doc` as saved with `saveFlags`: it has
// stand-ins, and needs nothing only qpdf's writer does (encryption,
// linearization, object streams, extension levels).
bool CanWriteDirect(PdfDocument& doc, std::uint16_t saveFlags);

enum class FileId { Random, Static, FromContent };

// Hands the file's bytes to `sink` in pieces.
void WriteDirect(PdfDocument& doc, FileId id, const std::function<void(std::string_view)>& sink);

}  // namespace tessera::pdf
