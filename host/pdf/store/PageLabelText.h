#pragma once
// The text of a page label: its prefix and its number in the label's style.
#include <qpdf/QPDFObjectHandle.hh>

#include <string>

namespace tessera::pdf {

// style: 'D' decimal, 'R'/'r' roman, 'A'/'a' letters (A..Z, AA..ZZ, AAA..),
// 0 for a prefix without number.
std::string PageLabelText(char style, const std::string& prefix, long long number);

// The text of the label dictionary qpdf gives for one page (/S, /P, /St).
std::string PageLabelText(QPDFObjectHandle label);

}  // namespace tessera::pdf
