// How the host reads what a page draws, on qpdf objects made in memory: the
// element tree, image sizes, JPEG 2000 headers and transparency, and the
// cases a content stream or its bytes can surprise a reader with.
#include "pdf/content/ImageDataLength.h"
#include "pdf/content/JpxHeader.h"
#include "pdf/content/TransparencyTest.h"
#include "pdf/store/PdfDocument.h"
#include "pdf/text/MupdfDocument.h"
#include "support/PdfFixture.h"

namespace tessera::pdf {
namespace {

class ContentReadingTest : public testing::Test {
protected:
    ContentReadingTest() { qpdf.emptyPDF(); }
    // A page drawing `content`, with more entries given as text.
    QPDFObjectHandle Page(const std::string& content, const std::string& resources = "<< >>",
                          const std::string& more = "") {
        QPDFObjectHandle page = qpdf.makeIndirectObject(QPDFObjectHandle::parse(
            &qpdf, "<< /Type /Page /MediaBox [0 0 612 792] /Resources " + resources + " " + more + " >>"));
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&qpdf, content));
        qpdf.addPage(page, false);
        return page;
    }
    QPDFObjectHandle Stream(const std::string& dict, const std::string& data = "") {
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&qpdf, data);
        stream.replaceDict(QPDFObjectHandle::parse(dict));
        return qpdf.makeIndirectObject(stream);
    }
    // The tree as text: types, with a container's list in brackets.
    static std::string Shape(const ContentTree& tree, std::uint32_t node = 0) {
        std::string out;
        for (std::uint32_t child : tree.Node(node).children) {
            const ContentNode& n = tree.Node(child);
            out += (out.empty() ? "" : " ") + std::to_string(static_cast<int>(n.type));
            if (n.type == host::PageElementKind::Container) out += "[" + Shape(tree, child) + "]";
        }
        return out;
    }
    QPDF qpdf;
};

TEST_F(ContentReadingTest, OperatorsBecomeElementsAsAReaderSeesThemAndDamagedContentIsRefused) {
    QPDFObjectHandle page = Page(
        "BT /Span << /MCID 0 >> BDC (x) Tj EMC ET "     // marked content in text: no container
        "BT 1 0 0 1 5 5 Tm ET "                         // no text shown: nothing
        "/A BMC 0 0 m 5 5 l S q 0 0 5 5 re W n Q EMC "  // a painted path; a clip: nothing
        "EMC EMC "                                      // unbalanced: ignored
        "/Ps Do /Ps2 Do /Fm Do /Missing Do /Im Do "
        "(%!PS) PS /Sh sh /B BMC BI /W 1 /H 1 /CS /G /BPC 8 ID\nx\nEI");
    page.getKey("/Resources")
        .replaceKey(
            "/XObject",
            QPDFObjectHandle::newDictionary(
                {{"/Ps", Stream("<< /Subtype /PS >>")},
                 {"/Ps2", Stream("<< /Subtype /Form /Subtype2 /PS /BBox [0 0 1 1] >>")},
                 {"/Fm", Stream("<< /Subtype /Form /BBox [0 0 1 1] >>")},
                 {"/Im", Stream("<< /Subtype /Image /Width 10 /Height 3 /ColorSpace /DeviceRGB /BitsPerComponent 8 "
                                "/Filter /FlateDecode >>",
                                "0123456789")}}));
    const ContentTree tree = ContentTree::OfPage(page);
    EXPECT_EQ(Shape(tree), "1 12[2] 5 5 4 3 5 16 12[3]") << "an unclosed container holds the rest";
    const host::ImageStorage image = tree.Node(tree.Node(0).children[5]).image;
    EXPECT_EQ(std::tuple(image.isStoredObject, image.objectType, image.storedLength, image.dataLength),
              std::tuple(true, host::kObjectTypeStream, 10, 90));
    EXPECT_FALSE(tree.Node(tree.Node(tree.Node(0).children[8]).children[0]).image.isStoredObject) << "inline";

    // Text outside any text object, in one the stream never closes, cut off by a second BT, nested; then
    // outside one in marked content, with empty text objects after it.
    for (const char* content : {"(x) Tj", "BT /F 9 Tf (x) Tj", "BT (x) Tj BT ET", "BT BT (x) Tj ET ET"})
        EXPECT_EQ(Shape(ContentTree::OfPage(Page(content))), "1") << content;
    EXPECT_EQ(Shape(ContentTree::OfPage(Page("/A BMC [(x)] TJ EMC BT /F 9 Tf ET BT ET"))), "12[1]");

    // Content read only in part is refused.
    EXPECT_THROW(ContentTree::OfPage(Page("0 0 m 5 5 l S ) ] >> garbage S")), host::HostError);
    QPDFObjectHandle damaged = Page("");
    damaged.replaceKey("/Contents", Stream("<< /Filter /FlateDecode >>", "not deflated"));
    EXPECT_THROW(ContentTree::OfPage(damaged), host::HostError);
    QPDFObjectHandle none = Page("");
    none.removeKey("/Contents");
    EXPECT_EQ(ContentTree::OfPage(none).Node(0).children.size(), 0u);

    // Read to the first mark, the tree ends at the first element that is not an image: text in an
    // unclosed object counts at once, and damage after it is not reached. Both blank tests fail
    // such a page whether it is read so or whole (refused).
    const QPDFObjectHandle images = Page("/B BMC BI /W 1 /H 1 /CS /G /BPC 8 ID\nx\nEI EMC BT (x) Tj 0 0 m S ) ] >> S");
    EXPECT_EQ(Shape(ContentTree::OfPage(images, true)), "12[3] 1");
    EXPECT_THROW(ContentTree::OfPage(images), host::HostError);
    EXPECT_EQ(Shape(ContentTree::OfPage(Page("/Sh sh (x) Tj"), true)), "16");
}

TEST_F(ContentReadingTest, ImageSizesCountPaddedRowsAndColourSpacesAndNeverMoreThanTheStreamCouldHold) {
    const std::pair<const char*, std::int64_t> dicts[] = {
        {"<< /Width 10 /Height 4 /ImageMask true >>", 8},  // 10 bits make 2 bytes a row
        {"<< /W 3 /H 2 /CS /RGB /BPC 8 >>", 18},           // inline-image abbreviations
        {"<< /Width 2 /Height 2 /ColorSpace [/Indexed /DeviceRGB 1 <000000FFFFFF>] /BitsPerComponent 4 >>", 2},
        {"<< /Width 2 /Height 1 /ColorSpace [/DeviceN [/A /B /C] /DeviceCMYK null] /BitsPerComponent 8 >>", 6},
        {"<< /Width 2 /Height 1 /ColorSpace /CS0 /BitsPerComponent 16 >>", 4},  // a named Separation
        {"<< /Width 5 /Height 5 /Filter /JPXDecode >>", 0},                     // the codestream knows; we do not
        {"<< /Width -5 /Height 5 /ColorSpace /DeviceGray /BitsPerComponent 8 >>", 0},
        {"<< /Width 4294967296 /Height 4294967296 /ColorSpace /DeviceCMYK /BitsPerComponent 16 >>", 0},  // overflows
    };
    const QPDFObjectHandle resources =
        QPDFObjectHandle::parse("<< /ColorSpace << /CS0 [/Separation /Spot /DeviceCMYK null] >> >>");
    for (const auto& [dict, length] : dicts)
        EXPECT_EQ(ImageDataLength(QPDFObjectHandle::parse(dict), resources), length) << dict;

    // zlib deflates 1000 x 1000 white gray pixels to about a thousand bytes, near
    // its best. Real blank scans compress well, but never better than that.
    const std::string deflated = test::PdfFixture::Deflated(std::string(1000 * 1000, '\xff')), jpeg(4325, 'j');
    const struct {
        const char* dict;
        std::string data;
        std::int64_t expected;
    } streams[] = {
        {"/Width 1000 /Height 1000 /BitsPerComponent 8 /Filter /FlateDecode", deflated, 1000000},
        {"/Width 1000 /Height 10000 /BitsPerComponent 8 /Filter /FlateDecode", deflated, 0},
        {"/Width 1000 /Height 10000 /BitsPerComponent 8 /Filter [/FlateDecode /FlateDecode]", deflated, 10000000},
        // A real blank sheet: 4,325 bytes of deflated JPEG (`jpeg`) for 2352 x 1655 gray pixels.
        {"/Width 2352 /Height 1655 /BitsPerComponent 8 /Filter [/FlateDecode /DCTDecode]", jpeg, 3892560},
        {"/Width 2352 /Height 16550 /BitsPerComponent 8 /Filter /DCTDecode", jpeg, 0},
        {"/Width 2000 /Height 1000 /BitsPerComponent 1 /Filter /CCITTFaxDecode", std::string(130, 'c'), 250000},
        {"/Width 2000 /Height 1100 /BitsPerComponent 1 /Filter /CCITTFaxDecode", std::string(130, 'c'), 0},
        {"/Width 2000 /Height 9000 /BitsPerComponent 1 /Filter /JBIG2Decode", std::string(130, 'c'), 2250000},
        {"/Width 10 /Height 10 /BitsPerComponent 8", std::string(50, 'r'), 0},
    };
    for (const auto& [dict, data, expected] : streams) {
        const QPDFObjectHandle image =
            Stream("<< /Subtype /Image /ColorSpace /DeviceGray " + std::string(dict) + " >>", data);
        EXPECT_EQ(XObjectImageDataLength(image, QPDFObjectHandle::newDictionary(), std::ssize(data)), expected) << dict;
    }
}

std::string Big(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Box(const std::string& type, const std::string& body) {
    return Big(static_cast<std::uint32_t>(8 + body.size()), 4) + type + body;
}

// A JP2 file of 8-bit components: signature, file type, then the header superbox with ihdr.
std::string Jp2(std::uint32_t width, std::uint32_t height, std::uint32_t components) {
    const std::string ihdr = Big(height, 4) + Big(width, 4) + Big(components, 2) + std::string("\x07\x07\x00\x00", 4);
    return Box("jP  ", "\r\n\x87\n") + Box("ftyp", "jp2 " + Big(0, 4) + "jp2 ") +
           Box("jp2h", Box("ihdr", ihdr) + Box("colr", std::string("\x01\x00\x00\x00\x00\x00\x10", 7)));
}

// A bare codestream: SOC, then SIZ for an image offset inside its grid.
std::string Codestream(std::uint32_t right, std::uint32_t bottom, std::uint32_t left, std::uint32_t top,
                       const std::string& depths) {
    std::string siz = Big(0xFF4F, 2) + Big(0xFF51, 2) + Big(static_cast<std::uint32_t>(38 + 3 * depths.size()), 2) +
                      Big(0, 2) + Big(right, 4) + Big(bottom, 4) + Big(left, 4) + Big(top, 4) + Big(right, 4) +
                      Big(bottom, 4) + Big(0, 4) + Big(0, 4) + Big(static_cast<std::uint32_t>(depths.size()), 2);
    for (char depth : depths) siz += std::string(1, depth) + "\x01\x01";
    return siz;
}

TEST_F(ContentReadingTest, JpegTwoThousandHeadersGiveWhatAnImageDictionaryLeavesOut) {
    const struct {
        const char* name;
        std::string bytes;
        std::uint32_t width, height;
        int components, bits;
    } headers[] = {{"JP2", Jp2(1654, 2339, 1), 1654, 2339, 1, 8},
                   {"a codestream: the grid's offset is not part of the image, bits of the deepest component",
                    Codestream(120, 90, 20, 10, std::string("\x07\x0b\x07", 3)), 100, 80, 3, 12}};
    for (const auto& c : headers) {
        const auto header = ReadJpxHeader(c.bytes);
        ASSERT_TRUE(header) << c.name;
        EXPECT_EQ(std::tuple(header->width, header->height, header->components, header->bits),
                  std::tuple(c.width, c.height, c.components, c.bits))
            << c.name;
    }
    const std::string whole = Jp2(10, 10, 3);
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(ReadJpxHeader(whole.substr(0, cut))) << "cut at " << cut;
    EXPECT_FALSE(ReadJpxHeader(Big(0x7f, 4) + whole.substr(4))) << "the signature box claims more bytes than there are";
    EXPECT_FALSE(ReadJpxHeader("\xFF\xD8\xFF\xE0 a JPEG, not JPEG 2000"));
    EXPECT_FALSE(ReadJpxHeader(Codestream(5, 5, 5, 0, "\x07")));

    QPDFObjectHandle image = Stream("<< /Subtype /Image /Width 40 /Height 30 /Filter /JPXDecode >>", Jp2(40, 30, 1));
    const QPDFObjectHandle none = QPDFObjectHandle::newDictionary();
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 40 * 30) << "gray, 8 bits, as the header says";
    image.getDict().replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceRGB"));
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 40 * 30 * 3) << "a colour space given in the dictionary wins";
    image.replaceStreamData("not JPEG 2000", QPDFObjectHandle::newName("/JPXDecode"), QPDFObjectHandle::newNull());
    EXPECT_EQ(XObjectImageDataLength(image, none, 100), 0);
}

TEST_F(ContentReadingTest, TransparencyIsFoundWhereverThePageDrawsIt) {
    EXPECT_FALSE(UsesTransparency(Page("/G gs", "<< /ExtGState << /G << /ca 1 /BM /Normal >> >> >>"), true));
    EXPECT_TRUE(UsesTransparency(Page("", "<< >>", "/Group << /S /Transparency >>"), false));

    // A form that draws itself through its own resources, and inside it a
    // form in a transparency group: the loop ends, the group is found.
    QPDFObjectHandle inner = Stream("<< /Subtype /Form /BBox [0 0 1 1] /Group << /S /Transparency >> >>");
    QPDFObjectHandle outer = Stream("<< /Subtype /Form /BBox [0 0 1 1] >>", "/Self Do /In Do");
    outer.getDict().replaceKey("/Resources", QPDFObjectHandle::parse(&qpdf, "<< /XObject << /Self " + outer.unparse() +
                                                                                " /In " + inner.unparse() + " >> >>"));
    QPDFObjectHandle nested = Page("/Out Do", "<< /XObject << /Out " + outer.unparse() + " >> >>");
    EXPECT_TRUE(UsesTransparency(nested, false));
    inner.getDict().removeKey("/Group");
    EXPECT_FALSE(UsesTransparency(nested, false));

    QPDFObjectHandle appearance = Stream(
        "<< /Subtype /Form /BBox [0 0 1 1] /Resources << /ExtGState << /G << /SMask << /S /Luminosity >> >> >> >> >>",
        "/G gs");
    QPDFObjectHandle annotated =
        Page("", "<< >>", "/Annots [<< /Subtype /Square /Rect [0 0 1 1] /AP << /N " + appearance.unparse() + " >> >>]");
    EXPECT_FALSE(UsesTransparency(annotated, false));
    EXPECT_TRUE(UsesTransparency(annotated, true)) << "annotations' appearances count when asked to";
}

// Text is searched on MuPDF's pages and split on qpdf's: when the two readers
// list different pages, a word would name or cut the wrong output.
TEST(PdfDocumentTest, PagesTheTextReaderListsOtherwiseAreRefused) {
    const std::string path = test::DataFile("multicolumn-latex-2col.pdf");
    auto qpdf = std::make_unique<QPDF>();
    qpdf->processFile(path.c_str());
    std::vector<MupdfDocument::ObjectId> pages;
    for (const QPDFObjectHandle& page : qpdf->getAllPages())
        pages.push_back({page.getObjectID(), page.getGeneration()});
    std::swap(pages.front(), pages.back());
    PdfDocument doc(std::move(qpdf), path);
    doc.SetTextReader(nullptr, pages);
    try {
        doc.Pages();
        ADD_FAILURE() << "pages in another order were taken";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot be told apart"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tessera::pdf
