#pragma once
// Pages as a scanner gives them: text drawn, then kept only as pixels.
#include <string>
#include <vector>

namespace tessera::test {

// Writes `path`: each page of text (lines separated by "\n", 12-point
// Helvetica from the top left, as PdfFixture draws them) drawn by pdftoppm
// at `dpi` in grey, with seeded noise and specks, stored as one image per
// page and no text layer. `turned` pages (0-based) are stored on their side,
// landscape, with /Rotate 90 so that they show upright. `garbled` pages
// carry an invisible text layer over their second line whose glyphs map to
// no character, as a broken font leaves them. Intermediate files go beside
// `path`.
void WriteScannedPdf(const std::string& path, const std::vector<std::string>& pageTexts, int dpi,
                     const std::vector<int>& turned = {}, const std::vector<int>& garbled = {});

}  // namespace tessera::test
