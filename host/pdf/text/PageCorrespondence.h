#pragma once
// Which page of MuPDF's reading is which page of qpdf's, by page object.
#include <optional>
#include <vector>

#include "pdf/text/MupdfDocument.h"

namespace tessera::pdf {

// For each wanted page, the index of the same object among the pages seen;
// none when a wanted page is not among them.
std::optional<std::vector<int>> MatchPages(const std::vector<MupdfDocument::ObjectId>& wanted,
                                           const std::vector<MupdfDocument::ObjectId>& seen);

}  // namespace tessera::pdf
