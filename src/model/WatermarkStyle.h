#pragma once
// A watermark's text and how it is drawn.
#include <cstdint>
#include <string>

namespace tessera {

struct WatermarkStyle {
    std::string Text;                     // UTF-8, in the characters of Windows-1252
    std::int32_t TransparencyLevel = 50;  // percent
    std::int32_t FontSize = 45;           // points
    // Off at first, as the run-wide watermark has always started: it is a
    // command-line switch, and a profile without its key draws the mark over
    // the page, where no picture hides it. A range stored without its own key
    // reads as drawn behind instead (model/StoredPageRange.h), as ranges have
    // always been stored. Files already written rely on each default, so
    // neither may follow the other.
    bool BehindText = false;

    friend bool operator==(const WatermarkStyle&, const WatermarkStyle&) = default;
};

}  // namespace tessera
