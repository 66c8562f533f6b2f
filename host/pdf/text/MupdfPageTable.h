#pragma once
// MuPDF's page table: page lookups by index and by object without a walk down
// the page tree for every page and every link on it. MuPDF 1.21 hands out one
// reference too many to each page it finds through the table; these calls
// give it back at once, so that the page objects go with their document.
// Other versions are not trusted with a table.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

#if FZ_VERSION_MAJOR == 1 && FZ_VERSION_MINOR == 21
inline constexpr bool kPageTableAvailable = true;
#else
inline constexpr bool kPageTableAvailable = false;
#endif

// False when MuPDF cannot make the table, whose lookups then walk the tree.
bool LoadPageTable(fz_context* ctx, pdf_document* doc);
// After any call that found `page` by index (pdf_lookup_page_obj, fz_load_page):
// true when it came from the table, whose extra reference is then given back.
// A table is made only where every page is a reference in its parent's /Kids,
// so there an object that is not one came from the table.
bool ReturnTableReference(fz_context* ctx, pdf_document* doc, pdf_obj* page);
// pdf_lookup_page_obj, balanced: throws MuPDF's errors.
pdf_obj* LookUpPage(fz_context* ctx, pdf_document* doc, int index);

}  // namespace tessera::pdf
