#pragma once
// A PDF file opened with qpdf as every reader of the host opens one: through
// the block cache, with qpdf's warnings kept for the repair note, not printed.
#include <qpdf/QPDF.hh>

#include <memory>
#include <string>

namespace tessera::pdf {

// HostError (kErrorPassword for a wrong password) when qpdf cannot open it.
std::unique_ptr<QPDF> OpenQpdfFile(const std::string& path, const std::string& password);

}  // namespace tessera::pdf
