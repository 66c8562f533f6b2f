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
bool TransferBookmarks(const LinkContext& context);

}  // namespace tessera
