#pragma once
// Destinations of links, bookmarks and GoTo actions inside one document.
#include <qpdf/QPDFObjectHandle.hh>

#include <optional>

#include "host/HostTypes.h"
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// The explicit destination array a destination stands for: named destinations
// (the /Dests dictionary and the /Names tree) are looked up and a << /D [...] >>
// value is unwrapped. None when it cannot be resolved.
std::optional<QPDFObjectHandle> ExplicitDestination(PdfDocument& doc, QPDFObjectHandle dest);

// The 0-based index of the page an explicit destination array leads to, or none.
std::optional<int> ArrayPageIndex(PdfDocument& doc, QPDFObjectHandle array);

// The view of an explicit destination array, at page.
host::Destination ViewOf(QPDFObjectHandle array, int page);
// The array for a view, starting with target (a page object or a page index).
QPDFObjectHandle ArrayOf(const QPDFObjectHandle& target, const host::Destination& view);

// The destination of an annotation or outline item: its /Dest, else the /D of
// a GoTo action in /A. A null handle when it has none.
QPDFObjectHandle DestinationOf(QPDFObjectHandle item);

}  // namespace tessera::pdf
