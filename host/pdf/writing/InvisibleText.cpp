#include "pdf/writing/InvisibleText.h"

#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cstdint>

namespace tessera::pdf {
namespace {

// Every glyph advances half an em; a word's run is stretched to its box.
constexpr double kAdvance = 0.5;

std::string Decimal(double value) { return QUtil::double_to_string(value, 4); }

// Each code is the UTF-16 unit it stands for, in ranges that keep their first
// byte, as the CMap format asks; characters beyond the Basic Multilingual
// Plane are shown as U+FFFD.
std::string IdentityToUnicode() {
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    for (int block = 0; block < 256; block += 100) {
        const int count = std::min(100, 256 - block);
        cmap += std::to_string(count) + " beginbfrange\n";
        for (int high = block; high < block + count; ++high) {
            const std::string h = QUtil::hex_encode(std::string(1, static_cast<char>(high)));
            cmap += "<" + h + "00> <" + h + "FF> <" + h + "00>\n";
        }
        cmap += "endbfrange\n";
    }
    return cmap + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// The text's UTF-16 units, big-endian, two bytes each.
std::string Utf16Codes(const std::string& utf8) {
    std::string codes;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        const int length = byte < 0x80 ? 1 : byte >> 5 == 6 ? 2 : byte >> 4 == 14 ? 3 : byte >> 3 == 30 ? 4 : 1;
        std::uint32_t code = length == 1 ? byte : byte & (0x7F >> length);
        for (int i = 1; i < length && at + static_cast<std::size_t>(i) < utf8.size(); ++i)
            code = code << 6 | (static_cast<unsigned char>(utf8[at + static_cast<std::size_t>(i)]) & 0x3F);
        if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF) || (length == 1 && byte >= 0x80)) code = 0xFFFD;
        codes += static_cast<char>(code >> 8);
        codes += static_cast<char>(code & 0xFF);
        at += static_cast<std::size_t>(length);
    }
    return codes;
}

// Where the word finder's space lies in the page's user space: a point's
// place, and the directions of its x and of "up" (against its y).
struct ShownSpace {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int rotate = 0;
    void Place(double x, double y, double& ux, double& uy) const {
        switch (rotate) {
            case 90:
                ux = x0 + y, uy = y0 + x;
                return;
            case 180:
                ux = x1 - x, uy = y0 + y;
                return;
            case 270:
                ux = x1 - y, uy = y1 - x;
                return;
            default:
                ux = x0 + x, uy = y1 - y;
        }
    }
};

ShownSpace SpaceOf(const QPDFObjectHandle& page) {
    QPDFPageObjectHelper helper(page);
    const QPDFObjectHandle::Rectangle box = helper.getCropBox().getArrayAsRectangle();
    ShownSpace space{std::min(box.llx, box.urx), std::min(box.lly, box.ury), std::max(box.llx, box.urx),
                     std::max(box.lly, box.ury)};
    QPDFObjectHandle rotate = helper.getAttribute("/Rotate", false);
    const long long turn = rotate.isInteger() ? rotate.getIntValue() : 0;
    space.rotate = static_cast<int>(((turn % 360) + 360) % 360);
    if (space.rotate % 90 != 0) space.rotate = 0;
    return space;
}

}  // namespace

QPDFObjectHandle MakeGlyphlessFont(QPDF& pdf) {
    using H = QPDFObjectHandle;
    const H descriptor = pdf.makeIndirectObject(
        H::parse("<< /Type /FontDescriptor /FontName /GlyphLessFont /Flags 5 /FontBBox [0 0 500 1000] /ItalicAngle 0 "
                 "/Ascent 1000 /Descent 0 /CapHeight 1000 /StemV 80 >>"));
    H cid = H::parse(
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /GlyphLessFont /CIDSystemInfo << /Registry (Adobe) "
        "/Ordering (Identity) /Supplement 0 >> /DW 500 /CIDToGIDMap /Identity >>");
    cid.replaceKey("/FontDescriptor", descriptor);
    H font = H::parse("<< /Type /Font /Subtype /Type0 /BaseFont /GlyphLessFont /Encoding /Identity-H >>");
    font.replaceKey("/DescendantFonts", H::newArray({pdf.makeIndirectObject(cid)}));
    font.replaceKey("/ToUnicode", H::newStream(&pdf, IdentityToUnicode()));
    return pdf.makeIndirectObject(font);
}

std::string InvisibleWordOperators(const QPDFObjectHandle& page, const std::vector<host::PageWord>& words,
                                   const std::string& fontName) {
    const ShownSpace space = SpaceOf(page);
    double ax = 0, ay = 0, bx = 0, by = 0, ux = 0, uy = 0;
    space.Place(0, 0, ax, ay);
    space.Place(1, 0, bx, by);
    space.Place(0, -1, ux, uy);
    const double rightX = bx - ax, rightY = by - ay, upX = ux - ax, upY = uy - ay;
    std::string ops = "BT\n3 Tr\n" + fontName + " 1 Tf\n";
    for (const host::PageWord& word : words) {
        const std::string codes = Utf16Codes(word.text);
        if (codes.empty() || word.quads.empty()) continue;
        const host::WordBox& box = word.quads.front();
        const double size = box.maxY - box.minY, width = box.maxX - box.minX;
        if (size <= 0 || width <= 0) continue;
        const double stretch = width / (static_cast<double>(codes.size()) / 2 * kAdvance * size);
        double ox = 0, oy = 0;
        space.Place(box.minX, box.maxY, ox, oy);  // the baseline's start: the box's bottom left as shown
        for (const double v : {rightX * size * stretch, rightY * size * stretch, upX * size, upY * size, ox, oy})
            ops += Decimal(v) + " ";
        ops += "Tm\n<" + QUtil::hex_encode(codes) + "> Tj\n";
    }
    return ops + "ET\n";
}

}  // namespace tessera::pdf
