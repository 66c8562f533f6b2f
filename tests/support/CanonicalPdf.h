#pragma once
// A written PDF as what it says, not how it is numbered: two files whose
// pages, resources, content bytes, annotations, outline and catalog are the
// same give the same text, whatever their object numbers and however often
// a shared object was written.
#include <string>

namespace tessera::test {

std::string CanonicalPdf(const std::string& file);

}  // namespace tessera::test
