#pragma once
// What each page's objects take on file, for estimating what pages written
// together take: shared objects (fonts, images) count once per output.
#include <vector>

#include "host/DocumentServices.h"
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Per page, the objects it reaches (itself, its content, resources,
// annotations and what they lead to; not the page tree, nor other pages),
// each with its bytes as stored: a stream's data and dictionary, another
// object as written out. Readies the document for copying first, as an
// insertion would, so that unused shared resources are not counted.
std::vector<std::vector<host::ObjectBytes>> PageObjectBytes(PdfDocument& doc);

}  // namespace tessera::pdf
