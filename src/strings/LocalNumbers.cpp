#include "strings/LocalNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "strings/LanguageTable.h"

namespace tessera {
namespace {

// Fixed-point text with "." whatever the C locale.
std::string Fixed(double value, int decimals) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::string Localized(std::string text) {
    const std::string mark = LookupString("NUMBER_DECIMAL_MARK", ".");
    if (const std::size_t dot = text.find('.'); dot != std::string::npos) text.replace(dot, 1, mark);
    return text;
}

}  // namespace

std::string DecimalText(double value, int decimals) { return Localized(Fixed(value, decimals)); }

std::string SignificantText(double value, int digits) {
    const int whole = value >= 1 ? static_cast<int>(std::floor(std::log10(value))) + 1 : 1;
    std::string text = Fixed(value, std::max(0, digits - whole));
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return Localized(text);
}

std::string GroupedText(std::int64_t value) {
    const std::string mark = LookupString("NUMBER_THOUSANDS_MARK", ",");
    std::string digits = std::to_string(value);
    const int first = digits[0] == '-' ? 1 : 0;
    for (int at = static_cast<int>(digits.size()) - 3; at > first; at -= 3)
        digits.insert(static_cast<std::size_t>(at), mark);
    return digits;
}

std::optional<double> ReadDecimal(std::string_view text) {
    std::string copy(text);
    for (char& c : copy)
        if (c == ',') c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (copy.empty() || error != std::errc() || end != copy.data() + copy.size()) return std::nullopt;
    return value;
}

}  // namespace tessera
