#pragma once
// The product's version as the build gives it; a build that does not (a tool
// compiling one file) shows 0.0 rather than failing.
#include <cstdint>

#ifndef TESSERA_VERSION_MAJOR
#define TESSERA_VERSION_MAJOR 0
#define TESSERA_VERSION_MINOR 0
#endif

namespace tessera {

inline constexpr std::int64_t kVersionMajor = TESSERA_VERSION_MAJOR;
inline constexpr std::int64_t kVersionMinor = TESSERA_VERSION_MINOR;

}  // namespace tessera
