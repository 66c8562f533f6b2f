#pragma once
// Numbers as the user's language writes them ("1,753" and "2.20" in
// English, "1.753" and "2,20" in German), whatever the C locale: a window's
// toolkit sets that from the environment, which made one message mix both.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// `value` with `decimals` digits after the language's decimal mark.
std::string DecimalText(double value, int decimals);
// `value` to `digits` significant digits, no exponent ("80.1", "1.5").
std::string SignificantText(double value, int digits);
// A whole number with the language's mark between thousands.
std::string GroupedText(std::int64_t value);
// A decimal number typed with either mark, "." or ","; none for anything else.
std::optional<double> ReadDecimal(std::string_view text);

}  // namespace tessera
