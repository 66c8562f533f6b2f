// JPEG 2000 headers: the two forms a PDF may hold, and bytes that lie.
#include "pdf/JpxHeader.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>

#include "pdf/ImageDataLength.h"

#include <string>

namespace tessera::pdf {
namespace {

std::string Big(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Box(const std::string& type, const std::string& body) {
    return Big(static_cast<std::uint32_t>(8 + body.size()), 4) + type + body;
}

// A JP2 file: signature, file type, then the header superbox with ihdr.
std::string Jp2(std::uint32_t width, std::uint32_t height, int components, int depthByte) {
    const std::string ihdr = Big(height, 4) + Big(width, 4) + Big(static_cast<std::uint32_t>(components), 2) +
                             static_cast<char>(depthByte) + std::string("\x07\x00\x00", 3);
    return Box("jP  ", "\r\n\x87\n") + Box("ftyp", "jp2 " + Big(0, 4) + "jp2 ") +
           Box("jp2h", Box("ihdr", ihdr) + Box("colr", std::string("\x01\x00\x00\x00\x00\x00\x10", 7)));
}

// A bare codestream: SOC, then SIZ for an image offset inside its grid.
std::string Codestream(std::uint32_t right, std::uint32_t bottom, std::uint32_t left, std::uint32_t top,
                       const std::string& depths) {
    std::string siz = Big(0xFF4F, 2) + Big(0xFF51, 2) + Big(static_cast<std::uint32_t>(38 + 3 * depths.size()), 2) +
                      Big(0, 2) + Big(right, 4) + Big(bottom, 4) + Big(left, 4) + Big(top, 4) +
                      Big(right, 4) + Big(bottom, 4) + Big(0, 4) + Big(0, 4) +
                      Big(static_cast<std::uint32_t>(depths.size()), 2);
    for (char depth : depths) siz += std::string(1, depth) + "\x01\x01";
    return siz;
}

TEST(JpxHeaderTest, ReadsBothFormsAndRefusesBrokenBytes) {
    const auto jp2 = ReadJpxHeader(Jp2(1654, 2339, 1, 7));
    ASSERT_TRUE(jp2);
    EXPECT_EQ(jp2->width, 1654u);
    EXPECT_EQ(jp2->height, 2339u);
    EXPECT_EQ(jp2->components, 1);
    EXPECT_EQ(jp2->bits, 8);

    const auto raw = ReadJpxHeader(Codestream(120, 90, 20, 10, std::string("\x07\x0b\x07", 3)));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->width, 100u) << "the grid's offset is not part of the image";
    EXPECT_EQ(raw->height, 80u);
    EXPECT_EQ(raw->components, 3);
    EXPECT_EQ(raw->bits, 12) << "the deepest component";

    const std::string whole = Jp2(10, 10, 3, 7);
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(ReadJpxHeader(whole.substr(0, cut))) << "cut at " << cut;
    std::string lying = whole;
    lying[3] = '\x7f';  // the signature box claims more bytes than there are
    EXPECT_FALSE(ReadJpxHeader(lying));
    EXPECT_FALSE(ReadJpxHeader("\xFF\xD8\xFF\xE0 a JPEG, not JPEG 2000"));
    EXPECT_FALSE(ReadJpxHeader(Codestream(5, 5, 5, 0, "\x07")));
}

TEST(JpxHeaderTest, DeeplyNestedHeaderBoxesAreWalkedWithoutRecursion) {
    const std::string ihdr = Big(6, 4) + Big(5, 4) + Big(1, 2) + std::string("\x07\x07\x00\x00", 4);
    constexpr std::uint32_t kDepth = 500000;
    std::string nested;
    nested.reserve(kDepth * 8 + 30);
    for (std::uint32_t level = 0; level < kDepth; ++level)
        nested += Big(8 * (kDepth - level) + 8 + static_cast<std::uint32_t>(ihdr.size()), 4) + "jp2h";
    nested += Box("ihdr", ihdr);
    const auto found = ReadJpxHeader(nested);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->width, 5u);
    EXPECT_EQ(found->height, 6u);
}

TEST(JpxHeaderTest, AnImageXObjectTakesWhatItsDictionaryLeavesOutFromTheHeader) {
    QPDF qpdf;
    qpdf.emptyPDF();
    QPDFObjectHandle image = QPDFObjectHandle::newStream(&qpdf, Jp2(40, 30, 1, 7));
    image.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    image.getDict().replaceKey("/Width", QPDFObjectHandle::newInteger(40));
    image.getDict().replaceKey("/Height", QPDFObjectHandle::newInteger(30));
    image.getDict().replaceKey("/Filter", QPDFObjectHandle::newName("/JPXDecode"));
    const QPDFObjectHandle none = QPDFObjectHandle::newDictionary();
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 40 * 30) << "gray, 8 bits, as the header says";
    image.getDict().replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceRGB"));
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 40 * 30 * 3) << "a colour space given in the dictionary wins";
    image.replaceStreamData("not JPEG 2000", QPDFObjectHandle::newName("/JPXDecode"), QPDFObjectHandle::newNull());
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 0);
}

}  // namespace
}  // namespace tessera::pdf
