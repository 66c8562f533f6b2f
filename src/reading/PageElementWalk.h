#pragma once
// The depth-first walk over a page's elements that the page tests share.
#include <functional>

#include "host/PageContentServices.h"

namespace tessera {

// Called with each element that is not a container and its type; false stops
// the walk of the list the element is in, but not of the lists around it.
using ElementVisitor = std::function<bool(host::ElementRef element, host::PageElementKind type)>;

// Containers are not visited themselves: their lists are walked in their place.
// Always true; host errors pass to the caller.
bool WalkPageElements(host::ElementRef list, const ElementVisitor& visit);

}  // namespace tessera
