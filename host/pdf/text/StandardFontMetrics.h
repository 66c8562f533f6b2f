#pragma once
// Measures text in the standard 14 fonts with MuPDF's built-in copies of
// them, so widths come from maintained font files rather than a table of ours.
#include <string>

struct fz_context;

namespace tessera::pdf {

// A run of text in em units (multiples of the font size).
struct RunExtent {
    double advance = 0;  // the sum of the characters' advance widths
    double top = 0;      // the highest and lowest point its glyphs reach,
    double bottom = 0;   // from the baseline up; the baseline itself at least
};

class StandardFontMetrics {
public:
    StandardFontMetrics();
    ~StandardFontMetrics();
    StandardFontMetrics(const StandardFontMetrics&) = delete;
    StandardFontMetrics& operator=(const StandardFontMetrics&) = delete;

    // The extent of codes, character codes in the WinAnsi (Windows-1252)
    // encoding, in the standard font named; HostError for a font that is not
    // one of the 14.
    RunExtent Measure(const std::string& fontName, const std::string& codes);

private:
    fz_context* ctx_;
};

}  // namespace tessera::pdf
