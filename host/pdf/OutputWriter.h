#pragma once
#include <cstdint>
#include <string>

#include "pdf/PdfDocument.h"

namespace tessera::pdf {

// Finishes an output built from copied pages (links, form fields, repeated
// pages) and writes it to path: a full rewrite, linearized with save flag 0x04,
// encrypted when security was set, at the PDF version of its sources. The file
// appears whole or not at all; missing parent folders are created.
void WriteOutput(PdfDocument& doc, const std::string& path, std::uint16_t saveFlags);

}  // namespace tessera::pdf
