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

// While one lives, outputs with the whole outline share it (one per source
// and folder, for the plan of that time): outputs are written, or one is
// measured, only inside one. It lets go of the shared outlines when it ends,
// as a plan being tried changes where pages go.
class SharedOutlinesScope {
public:
    SharedOutlinesScope();
    ~SharedOutlinesScope();
    SharedOutlinesScope(const SharedOutlinesScope&) = delete;
    SharedOutlinesScope& operator=(const SharedOutlinesScope&) = delete;
};

}  // namespace tessera
