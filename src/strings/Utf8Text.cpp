#include "strings/Utf8Text.h"

#include <locale.h>
#include <clocale>
#include <cwctype>

namespace tessera {
namespace {

// Length of the UTF-8 sequence that starts at text[i], or 0 when it is not a
// well-formed one (a lone byte is then treated as one character of its own).
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

char32_t Decode(std::string_view seq) {
    const auto b = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(seq[k])); };
    switch (seq.size()) {
        case 1:
            return b(0);
        case 2:
            return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        case 3:
            return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        default:
            return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Freed when the module unloads, so that loading it again leaks nothing.
class Utf8LocaleHolder {
public:
    Utf8LocaleHolder() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {}
    ~Utf8LocaleHolder() {
        if (locale_) freelocale(locale_);
    }
    locale_t Get() const { return locale_; }

private:
    locale_t locale_;
};

locale_t Utf8Locale() {
    static const Utf8LocaleHolder holder;
    return holder.Get();
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string TrimText(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

std::string TrimRight(std::string_view text) {
    std::size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(0, e));
}

std::vector<Utf8Character> Characters(std::string_view text) {
    std::vector<Utf8Character> characters;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = SequenceLength(text, i);
        characters.push_back({n ? Decode(text.substr(i, n)) : U'\uFFFD', text.substr(i, n ? n : 1)});
        i += n ? n : 1;
    }
    return characters;
}

std::size_t CountCharacters(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t n = SequenceLength(text, i);
        i += n ? n : 1;
    }
    return count;
}

std::string CutToCharacters(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < count && i < text.size(); ++k) {
        const std::size_t n = SequenceLength(text, i);
        i += n ? n : 1;
    }
    return std::string(text.substr(0, i));
}

std::string CutToBytes(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return std::string(text);
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

std::string UpperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const locale_t loc = Utf8Locale();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = SequenceLength(text, i);
        if (n == 0) {
            out += text[i++];
            continue;
        }
        const char32_t c = Decode(text.substr(i, n));
        char32_t u = c;
        if (c < 0x80)
            u = (c >= 'a' && c <= 'z') ? c - 32 : c;
        else if (loc)
            u = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc));
        Encode(u, out);
        i += n;
    }
    return out;
}

}  // namespace tessera
