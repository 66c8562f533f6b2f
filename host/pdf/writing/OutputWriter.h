#pragma once
#include <cstdint>
#include <string>

#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Finishes an output built from copied pages (links, form fields, repeated
// pages) and writes it to path: a full rewrite, linearized with save flag 0x04,
// encrypted when security was set, at the PDF version of its sources. The file
// appears whole or not at all; missing parent folders are created. With
// maxBytes (0: any size), a file that would be larger does not appear:
// HostError saying its size.
void WriteOutput(PdfDocument& doc, const std::string& path, std::uint16_t saveFlags, std::uint64_t maxBytes);
// The bytes WriteOutput would write, counted and let go, or kept in `file`
// when it is given: the document is finished as it would be, and is not to be
// written afterwards.
std::uint64_t MeasureOutput(PdfDocument& doc, std::uint16_t saveFlags, std::string* file);
// Writes bytes MeasureOutput kept to path, as WriteOutput writes; `pages`
// are the input's pages they hold, 1-based.
void WriteFile(const std::string& file, const std::string& path, std::uint64_t maxBytes, std::vector<int> pages);

}  // namespace tessera::pdf
