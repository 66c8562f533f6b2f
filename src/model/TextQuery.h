#pragma once
// Text search criteria: a pattern, how to match it, and an optional page area.
#include <cstdint>
#include <string>

namespace tessera {

struct TextQuery {
    std::string Pattern;
    bool UseRegExp = false;
    bool WholeWords = false;
    bool MatchCase = false;
    bool PrevBreakPage = false;  // stored and copied, never read
    bool UseAreaFilter = false;
    // 16.16 fixed-point points.
    std::int32_t AreaLeft = 0;
    std::int32_t AreaTop = 0;
    std::int32_t AreaRight = 0;
    std::int32_t AreaBottom = 0;

    friend bool operator==(const TextQuery&, const TextQuery&) = default;
};

}  // namespace tessera
