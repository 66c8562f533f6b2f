#pragma once
// Whether a page uses transparency anywhere it draws.
#include <qpdf/QPDFObjectHandle.hh>

namespace tessera::pdf {

// Soft masks, constant alpha below 1, blend modes other than Normal and
// transparency groups, on the page, in the forms, images and patterns its
// resources reach, and with includeAnnotations in its annotations' appearances.
// What the resources offer counts whether or not the content uses it.
bool UsesTransparency(QPDFObjectHandle page, bool includeAnnotations);

}  // namespace tessera::pdf
