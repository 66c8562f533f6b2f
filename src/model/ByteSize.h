#pragma once
// Sizes of files as people write them: "500k", "10MB", "9.5MiB", "2048".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// Bytes of a size: a number (a decimal point allowed) and a unit, SI (k, kB,
// M, MB, G, GB: powers of 1000) or IEC (KiB, MiB, GiB: powers of 1024), in
// any case, blanks allowed between; bytes without a unit or with "B". Rounded
// down to whole bytes. None for anything else, or less than one byte.
std::optional<std::int64_t> ParseByteSize(std::string_view text);

// "1,048,576 bytes (1.05 MB)": exact, and readable.
std::string ByteSizeText(std::int64_t bytes);

}  // namespace tessera
