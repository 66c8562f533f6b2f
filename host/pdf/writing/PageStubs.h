#pragma once
// Pages copied into an output without the objects that weigh (content
// streams, fonts, images): in their place the output holds empty stand-ins,
// each for one object of the source, written from the source's own bytes
// when the output is saved. A split into thousands of outputs copies every
// shared font thousands of times otherwise, and writing them out again and
// destroying the copies is most of its time.
#include <qpdf/QPDFObjectHandle.hh>

#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Inserts `page` (of q or of another document) so that it becomes page
// number `index` of q.
void InsertPageObject(QPDF& q, const QPDFObjectHandle& page, int index);

// Whether pages of `src` may go into `out` with stand-ins: not where the
// output's parts read the pages' insides (structure tree, layers).
bool MayStandIn(PdfDocument& out, PdfDocument& src);

// Inserts page `page` of `src` into `out` as page number `index`, its heavy
// objects replaced by stand-ins. The source page is left as it was.
void InsertWithStandIns(PdfDocument& out, PdfDocument& src, int page, int index);

// The output's stand-in for object `real` of `src`, one per object.
QPDFObjectHandle StandInFor(PdfDocument& out, PdfDocument& src, QPDFObjGen real);

// Copies in what every stand-in of `out` stands for and points every
// reference at the copy, so that the object model is whole again; no later
// page gets stand-ins. Called before anything reads or edits the pages'
// insides, and before a write the direct writer cannot do.
void CopyStandIns(PdfDocument& out);

}  // namespace tessera::pdf
