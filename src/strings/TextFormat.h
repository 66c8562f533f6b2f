#pragma once
// printf-style formatting of texts that come from language files. The format is
// data, not code: a conversion that does not fit its argument, or has none,
// never reads memory it should not; it prints the argument in the form asked
// for where it can, and nothing where there is no argument.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace tessera {

using FormatArg = std::variant<std::int64_t, std::string>;

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace tessera
