#pragma once
// Watermarks: a text written diagonally across the middle of an output page,
// in red, as real page content drawn behind or over the page's own.
#include <string>

#include "host/PageEditServices.h"
#include "model/PageRange.h"

namespace tessera {

// Where the text's origin lies from the point its turned box is centred on,
// in whole points.
struct WatermarkOffset {
    int x = 0;
    int y = 0;
};

// codes are character codes of font; angle in radians.
WatermarkOffset MeasureWatermarkOffset(const std::string& codes, host::FontId font, const host::TextGraphicState& state,
                                       int fontSize, double angle);

// Stamps text (UTF-8) on page `index` of doc, centred on its crop box; opacity
// 0 to 1. False when the font cannot be had, and nothing is drawn; other
// failures are shown and the page may stay without the watermark. A page
// left without it is named by `shownNumber`, by default index + 1.
bool StampWatermark(host::DocId doc, int index, const std::string& text, int fontSize, double angleDegrees,
                    float opacity, bool behindText, int shownNumber = 0);

// Stamps pages first to last of doc with the range's watermark, when it has
// one; page `first` is the one the user will know as page `shownFirst`.
void StampRangeWatermark(host::DocId doc, int first, int last, const PageRange& range, int shownFirst);

}  // namespace tessera
