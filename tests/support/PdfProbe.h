#pragma once
// Independent readers of written PDFs: qpdf and poppler's command-line tools.
#include <string>
#include <vector>

namespace tessera::test {

// The text of each page as pdftotext reads it, white space trimmed.
std::vector<std::string> PageTexts(const std::string& file, const std::string& password = "");
// "Page N" texts of a fixture's pages as their numbers; 0 for other pages.
std::vector<int> FixturePageNumbers(const std::string& file, const std::string& password = "");
// Whether qpdf --check finds no error (warnings allowed).
bool QpdfCheckPasses(const std::string& file, const std::string& password = "");
// pdfinfo's value for a field ("Title", "PDF version", ...); empty when absent.
std::string PdfInfoField(const std::string& file, const std::string& field, const std::string& password = "");

}  // namespace tessera::test
