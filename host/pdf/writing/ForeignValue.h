#pragma once
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace tessera::pdf {

// A value of another document, as `out` may hold it: indirect objects are
// copied with everything they reach (qpdf's copier, which maps an object
// once per pair of documents), direct arrays and dictionaries item by item,
// so that only what they point to is copied.
QPDFObjectHandle ForeignValue(QPDF& out, const QPDFObjectHandle& value);

}  // namespace tessera::pdf
