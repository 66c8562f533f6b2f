#pragma once
// The display names of the kinds of page element.
#include <string>

#include "host/PageElementKind.h"

namespace tessera {

// The localised display name of a kind; "Element" for kinds without one.
std::string ElementKindName(host::PageElementKind kind);

}  // namespace tessera
