#include "pdf/text/GlyphNameText.h"

#include <mupdf/fitz.h>

#include <cstring>

#include "pdf/text/UnicodeNameGlyph.h"

namespace tessera::pdf {
namespace {

bool IsScalar(long c) { return c > 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// The value of count hex digits (upper case, as the list's rules ask), or -1.
long Hex(const char* digits, std::size_t count) {
    long value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = digits[i];
        if (c >= '0' && c <= '9')
            value = value * 16 + (c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + (c - 'A' + 10);
        else
            return -1;
    }
    return value;
}

// TeX's math extension fonts name each size of a delimiter or operator by
// its glyph list name and the size: "parenleftBig", "summationdisplay".
int TexSizeVariant(const char* buffer, std::size_t size) {
    static constexpr const char* kSizes[] = {"bigg", "Bigg", "big", "Big", "display", "text"};
    for (const char* sized : kSizes) {
        const std::size_t length = std::strlen(sized);
        if (size < length + 3 || std::strcmp(buffer + size - length, sized) != 0) continue;
        char base[64];
        std::memcpy(base, buffer, size - length);
        base[size - length] = '\0';
        const int listed = fz_unicode_from_glyph_name_strict(base);
        return IsScalar(listed) ? listed : 0;
    }
    return 0;
}

// One component of length size; appends to out and returns the new count,
// or 0 when the component means nothing or out is full.
std::size_t Component(const char* name, std::size_t size, int* out, std::size_t used, std::size_t capacity) {
    char buffer[64];
    if (size == 0 || size >= sizeof buffer) return 0;
    std::memcpy(buffer, name, size);
    buffer[size] = '\0';
    // MuPDF reads "uniD800" as a surrogate, which no text may hold.
    if (const int listed = fz_unicode_from_glyph_name_strict(buffer); IsScalar(listed)) {
        if (used == capacity) return 0;
        out[used] = listed;
        return used + 1;
    }
    if (size >= 7 && (size - 3) % 4 == 0 && std::strncmp(buffer, "uni", 3) == 0) {
        for (std::size_t at = 3; at < size; at += 4) {
            const long c = Hex(buffer + at, 4);
            if (!IsScalar(c) || used == capacity) return 0;
            out[used++] = static_cast<int>(c);
        }
        return used;
    }
    if (size >= 5 && size <= 7 && buffer[0] == 'u') {
        const long c = Hex(buffer + 1, size - 1);
        if (!IsScalar(c) || used == capacity) return 0;
        out[used] = static_cast<int>(c);
        return used + 1;
    }
    int named = UnicodeNameGlyph(buffer, size);
    if (named == 0) named = TexSizeVariant(buffer, size);
    if (named > 0 && used < capacity) {
        out[used] = named;
        return used + 1;
    }
    return 0;
}

}  // namespace

std::size_t GlyphNameText(const char* name, int* out, std::size_t capacity) noexcept {
    const std::size_t end = std::strcspn(name, ".");
    std::size_t used = 0;
    bool whole = true;
    for (std::size_t start = 0; start < end;) {
        std::size_t stop = start + std::strcspn(name + start, "_.");
        if (stop > end) stop = end;
        if (const std::size_t more = Component(name + start, stop - start, out, used, capacity))
            used = more;
        else
            whole = false;
        start = stop + 1;
    }
    // A name of one component was tried whole already.
    if (whole || std::memchr(name, '_', end) == nullptr) return used;
    // An underscore may be a Unicode name's hyphen rather than a ligature's joint.
    if (const int named = UnicodeNameGlyph(name, end); named > 0 && capacity > 0) {
        out[0] = named;
        return 1;
    }
    // A ligature keeps the parts that mean something.
    return used;
}

}  // namespace tessera::pdf
