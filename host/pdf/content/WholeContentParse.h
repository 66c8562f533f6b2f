#pragma once
// Runs qpdf's content-stream parser and refuses what it only read in part.
#include <qpdf/QPDFObjectHandle.hh>

#include <functional>

namespace tessera::pdf {

// Calls parse, which parses content of owner's document. HostError when qpdf
// cannot parse it, or had to skip or repair anything in it: an answer drawn
// from part of a page must not pass for the whole page's.
void ParseWholly(QPDFObjectHandle owner, const std::function<void()>& parse);

}  // namespace tessera::pdf
