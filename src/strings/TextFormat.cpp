#include "strings/TextFormat.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace tessera {
namespace {

struct Conversion {
    std::string flags;  // flags, width and precision, digits only
    char type = 0;
    std::size_t length = 0;  // characters of the format it used, '%' included
};

// Reads the conversion at format[pos] (which is '%'); type 0 when malformed.
Conversion ParseConversion(std::string_view format, std::size_t pos) {
    Conversion c;
    std::size_t i = pos + 1;
    while (i < format.size() && std::strchr("-+ #0", format[i])) c.flags += format[i++];
    std::size_t digits = 0;
    while (i < format.size() && ((format[i] >= '0' && format[i] <= '9') || format[i] == '.')) {
        if (++digits <= 6) c.flags += format[i];  // keeps widths sane
        ++i;
    }
    while (i < format.size() && std::strchr("hlLqjzt", format[i])) ++i;  // length modifiers
    if (i < format.size() && std::strchr("diuxXcs%", format[i])) c.type = format[i++];
    c.length = i - pos;
    return c;
}

template <class T>
std::string Print(const std::string& spec, T value) {
    const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n < 0) return {};
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::snprintf(buf.data(), buf.size(), spec.c_str(), value);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string Integer(const Conversion& c, std::int64_t value) {
    if (c.type == 'c') return Print("%" + c.flags + "c", static_cast<int>(value));
    return Print("%" + c.flags + "ll" + c.type, static_cast<long long>(value));
}

std::string Text(const Conversion& c, const std::string& value) { return Print("%" + c.flags + "s", value.c_str()); }

std::string Render(const Conversion& c, const FormatArg* arg) {
    if (!arg) return {};
    if (c.type == 's') {
        if (const auto* s = std::get_if<std::string>(arg)) return Text(c, *s);
        return Text(c, std::to_string(std::get<std::int64_t>(*arg)));
    }
    if (const auto* i = std::get_if<std::int64_t>(arg)) return Integer(c, *i);
    return Integer(c, 0);
}

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    const FormatArg* next = args.begin();
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        const Conversion c = ParseConversion(format, i);
        if (c.type == '%') {
            out += '%';
        } else if (c.type == 0) {
            out.append(format.substr(i, c.length));  // not a conversion: shown as written
        } else {
            out += Render(c, next != args.end() ? next : nullptr);
            if (next != args.end()) ++next;
        }
        i += c.length;
    }
    return out;
}

}  // namespace tessera
