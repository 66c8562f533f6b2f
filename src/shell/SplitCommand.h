#pragma once

namespace tessera {

// The split menu item: checks that the viewer and the active document allow
// a split, runs the settings dialog, the split, and reports the outcome.
void SplitCommand();

}  // namespace tessera
