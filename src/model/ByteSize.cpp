#include "model/ByteSize.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "strings/LanguageTable.h"
#include "strings/LocalNumbers.h"

namespace tessera {
namespace {

std::string Lower(std::string_view text) {
    std::string lower;
    for (const char c : text)
        if (c != ' ') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::optional<double> UnitBytes(const std::string& unit) {
    static const struct {
        const char* name;
        double bytes;
    } kUnits[] = {{"", 1},    {"b", 1},    {"k", 1e3},      {"kb", 1e3},        {"m", 1e6},           {"mb", 1e6},
                  {"g", 1e9}, {"gb", 1e9}, {"kib", 1024.0}, {"mib", 1048576.0}, {"gib", 1073741824.0}};
    for (const auto& u : kUnits)
        if (unit == u.name) return u.bytes;
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> ParseByteSize(std::string_view text) {
    const std::string lower = Lower(text);
    const std::size_t unitAt = lower.find_first_not_of("0123456789.");
    const std::string number = lower.substr(0, unitAt);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    const std::optional<double> unit = UnitBytes(unitAt == std::string::npos ? "" : lower.substr(unitAt));
    if (!unit) return std::nullopt;
    const double bytes = std::floor(value * *unit);
    if (!(bytes >= 1) || bytes > 9.0e18) return std::nullopt;
    return static_cast<std::int64_t>(bytes);
}

std::string ByteSizeText(std::int64_t bytes) {
    const char* units[] = {"kB", "MB", "GB"};
    double scaled = static_cast<double>(bytes);
    int unit = -1;
    while (scaled >= 1000 && unit < 2) scaled /= 1000, ++unit;
    std::string text = GroupedText(bytes) + " " + LookupString("NUMBER_BYTES", "bytes");
    if (unit >= 0) text += " (" + SignificantText(scaled, 3) + " " + units[unit] + ")";
    return text;
}

}  // namespace tessera
