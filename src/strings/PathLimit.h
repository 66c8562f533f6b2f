#pragma once
#include <cstddef>

namespace tessera {

// Linux refuses a path of 4096 bytes or more (PATH_MAX counts the final NUL).
inline constexpr std::size_t kMaxPathBytes = 4095;

}  // namespace tessera
