#pragma once
// Whether a page is blank, or holds nothing but a nearly empty scan.
// Annotations, form fields and links do not make a page non-blank: only the
// page's content is looked at.
#include "reading/PageContentHolder.h"

namespace tessera {

// Blank: no element but containers, however nested. A page whose content
// cannot be read is not blank.
bool IsBlankPage(PageContentHolder& holder);

// Every element drawn, inside containers too, is a stored image whose stream
// is smaller than threshold times its decoded data: a blank page scanned
// compresses to almost nothing, and noise raises the ratio. An empty page
// counts too.
bool IsBlankImagePage(PageContentHolder& holder, double threshold);

// Stored length over data length; the image is never blank when either is 0.
double BlankImageRatio(const host::ImageStorage& image);

}  // namespace tessera
