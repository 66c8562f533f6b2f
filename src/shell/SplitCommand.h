#pragma once

#include "access/DocumentHandle.h"

namespace tessera {

// The key of the refusal a document earns before any split (fewer than two
// pages, or security that forbids taking pages out), or null.
const char* SplitRefusalKey(const DocumentHandle& document);

// The split menu item: checks that the viewer and the active document allow
// a split, runs the settings dialog, the split, and reports the outcome.
void SplitCommand();

}  // namespace tessera
