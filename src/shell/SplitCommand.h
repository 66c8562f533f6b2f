#pragma once

#include "access/DocumentHandle.h"
#include "strings/Result.h"

namespace tessera {

// Fails with the refusal a document earns before any split (fewer than two
// pages, or security that forbids taking pages out).
Result<> SplitAllowed(const DocumentHandle& document);

// The split menu item: checks that the viewer and the active document allow
// a split, runs the settings dialog, the split, and reports the outcome.
void SplitCommand();

}  // namespace tessera
