#pragma once
// Every search pattern of a split, checked before any page is scanned: a
// pattern that does not compile would otherwise match nothing, and the
// outputs it selects would be dropped without a word.
#include <string>

#include "model/OutputDocument.h"
#include "model/SplitSettings.h"

namespace tessera {

// The text telling what is wrong with the first pattern that does not
// compile (the pattern, PCRE2's reason and the offset); empty when all do.
std::string InvalidPatternMessage(const SplitSettings& settings, const OutputList& outputs);

}  // namespace tessera
