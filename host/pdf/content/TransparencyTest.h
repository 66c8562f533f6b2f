#pragma once
// Whether a page uses transparency anywhere it draws.
#include <qpdf/QPDFObjectHandle.hh>

namespace tessera::pdf {

// Soft masks, constant alpha below 1, blend modes other than Normal and
// transparency groups: in the page's own group, in the graphics states,
// images, forms and patterns its content uses (and the forms and patterns
// use, however deep), and with includeAnnotations in its annotations'
// appearances. What the resources merely offer does not count: pages often
// share one resource dictionary. HostError when a content stream on the way
// cannot be read in full.
bool UsesTransparency(const QPDFObjectHandle& page, bool includeAnnotations);

}  // namespace tessera::pdf
