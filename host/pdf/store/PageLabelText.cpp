#include "pdf/store/PageLabelText.h"

#include <algorithm>

namespace tessera::pdf {
namespace {

std::string Roman(long long n, bool upper) {
    static const struct {
        int value;
        const char* text;
    } kDigits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                   {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string out;
    n = std::min(n, 100000LL);  // a label number from a file may be absurd; its text need not be
    for (const auto& d : kDigits)
        for (; n >= d.value; n -= d.value) out += d.text;
    if (upper)
        for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Letters(long long n, bool upper) {
    const long long repeat = std::min((n - 1) / 26 + 1, 1000LL);
    return std::string(static_cast<std::size_t>(repeat), static_cast<char>((upper ? 'A' : 'a') + (n - 1) % 26));
}

}  // namespace

std::string PageLabelText(char style, const std::string& prefix, long long number) {
    if (style == 0) return prefix;
    if (number < 1 || style == 'D') return prefix + std::to_string(number);
    if (style == 'R' || style == 'r') return prefix + Roman(number, style == 'R');
    if (style == 'A' || style == 'a') return prefix + Letters(number, style == 'A');
    return prefix + std::to_string(number);
}

std::string PageLabelText(QPDFObjectHandle label) {
    if (!label.isDictionary()) return {};
    QPDFObjectHandle s = label.getKey("/S"), p = label.getKey("/P"), st = label.getKey("/St");
    const std::string prefix = p.isString() ? p.getUTF8Value() : "";
    const char style = s.isName() && s.getName().size() == 2 ? s.getName()[1] : 0;
    return PageLabelText(style, prefix, st.isInteger() ? st.getIntValue() : 1);
}

}  // namespace tessera::pdf
