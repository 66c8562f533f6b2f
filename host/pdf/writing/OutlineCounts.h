#pragma once
// The /Count entries of an outline built item by item.
#include <qpdf/QPDF.hh>

namespace tessera::pdf {

// Sets every item's /Count from the items below it: the number of visible
// descendants for an open item (one whose /Count is positive), its negative
// for a closed one, none for an item without children; the root counts every
// visible item. Items reached twice are counted once.
void RecountOutline(QPDF& q);

}  // namespace tessera::pdf
