#pragma once
// Text search criteria: a pattern, how to match it, and an optional page area.
#include <string>

#include "model/PageArea.h"

namespace tessera {

struct TextQuery {
    std::string Pattern;
    bool UseRegExp = false;
    bool WholeWords = false;
    bool MatchCase = false;
    bool PrevBreakPage = false;  // stored and copied, never read
    bool UseAreaFilter = false;
    PageArea Area;

    friend bool operator==(const TextQuery&, const TextQuery&) = default;
};

}  // namespace tessera
