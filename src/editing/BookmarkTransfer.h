#pragma once
// Every output carries the source's whole outline; the destinations of its
// items are mapped as links are.
#include "editing/LinkRewriting.h"

namespace tessera {

// Copies the source's outline under the output's outline root: titles, style,
// open state, colour, and actions (GoTo actions mapped, others deep-copied; a
// GoTo that leads nowhere leaves its item without action). An item reached
// twice is copied once. A host error is shown and ends the copy (false); the
// items copied so far stay.
// Outputs in one folder share one outline the host writes from bytes made
// once, each with its own actions where items lead into it, when the host
// can share it; the copy is then the same.
bool TransferBookmarks(const LinkContext& context);

// Lets go of the outlines built for a run's outputs, once they are written.
void ForgetSharedOutlines();

}  // namespace tessera
