#pragma once
// Annotations belong to one page. qpdf inserts a page that an output already
// holds as a shallow copy sharing the first one's annotations, so the copy
// gets annotations of its own as soon as it is inserted, and whatever edits
// links afterwards edits only the page it means.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <set>

namespace tessera::pdf {

// Gives page copies of the annotations that an earlier page of the document
// (listed in owned) already holds, points each annotation's /P to page, and
// adds the page's annotations to owned.
void OwnAnnotations(QPDF& q, QPDFObjectHandle page, std::set<QPDFObjGen>& owned);

}  // namespace tessera::pdf
