#pragma once
// The document-level parts an output takes from its source that are not a
// catalog entry copied as it stands: each is cut to the output, or lives
// elsewhere than the catalog's top level. The plug-in asks for them by the
// names of catalog entries, as for the others.
#include <optional>
#include <string>

#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Whether doc has the part; none when key names no such part.
std::optional<bool> HasCarriedPart(PdfDocument& doc, const std::string& key);
// Carries the part into out; false when key names no such part.
//  StructTreeRoot  the structure tree, cut to out's pages
//  OCProperties    the layers out's pages use
//  EmbeddedFiles   the attached files (/Names /EmbeddedFiles), all of them
bool CarryPart(PdfDocument& out, PdfDocument& source, const std::string& key);

}  // namespace tessera::pdf
