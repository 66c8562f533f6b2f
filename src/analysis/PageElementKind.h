#pragma once
// The kinds of page element a content query can ask for: 0 to 28 are the
// host's content element types, 29 to 44 annotation, action and page properties.
#include <cstdint>
#include <string>

namespace tessera {

inline constexpr int kPageElementKindCount = 45;

// The localised display name of a kind; "Element" for kinds without one.
std::string ElementKindName(std::int32_t kind);

}  // namespace tessera
