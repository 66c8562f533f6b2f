#pragma once
#include <vector>

#include "host/WordFinderServices.h"

#include <mupdf/fitz.h>

namespace tessera::pdf {

// The words of a page's structured text: runs of characters that are not
// blank within one line, sorted line by line from the top, left to right.
std::vector<host::PageWord> PageWords(const fz_stext_page& text);

}  // namespace tessera::pdf
