#pragma once
// Every search pattern of a split, checked before any page is scanned: a
// pattern that does not compile would otherwise match nothing, and the
// outputs it selects would be dropped without a word.
#include "model/OutputDocument.h"
#include "model/SplitSettings.h"
#include "strings/Result.h"

namespace tessera {

// Fails on the first pattern that does not compile, saying what is wrong with
// it (the pattern, PCRE2's reason and the offset).
Result<> PatternsCompile(const SplitSettings& settings, const OutputList& outputs);

}  // namespace tessera
