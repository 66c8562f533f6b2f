#pragma once
// How many elements of each kind a page holds, for the content queries.
#include <array>
#include <cstdint>

#include "host/PageElementKind.h"
#include "reading/PageContentHolder.h"

namespace tessera {

using ElementCountTable = std::array<std::uint32_t, host::kPageElementKindCount>;

// Counts the content elements (inside containers too), the annotations by
// subtype and by the subtype of their action, and the page's transition,
// transparency and rotation. False when the holder has no page. A host error
// in one group (content and transparency, annotations, page properties) does
// not stop the others: the counts hold all that could be read, and the first
// error then passes to the caller, with the content released.
bool CountPageElements(PageContentHolder& holder, ElementCountTable& counts);

// 0 for a kind outside the table.
std::uint32_t ElementCount(const ElementCountTable& counts, host::PageElementKind kind);

}  // namespace tessera
