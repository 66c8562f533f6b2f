#pragma once
// Words laid over a page as invisible text (render mode 3), each stretched
// over its box, in a font that draws nothing and maps every character code
// to the Unicode value it is: a viewer searches, selects and copies them,
// and the page looks as it did.
#include <qpdf/QPDF.hh>

#include <string>
#include <vector>

#include "host/WordFinderServices.h"

namespace tessera::pdf {

// The font: one /Type0 font of two-byte codes over a CID font with no glyph
// program (nothing is drawn in mode 3), made in `pdf`.
QPDFObjectHandle MakeGlyphlessFont(QPDF& pdf);

// The content operators that lay the words (boxes in the word finder's
// space of `page`: points from the top left of its crop box, turned as it
// is shown) over the page in the font named `fontName` ("/Ts0").
std::string InvisibleWordOperators(const QPDFObjectHandle& page, const std::vector<host::PageWord>& words,
                                   const std::string& fontName);

}  // namespace tessera::pdf
