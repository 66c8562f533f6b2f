// The host's element tree, image sizes and transparency test on qpdf objects
// made in memory: the cases a content stream can surprise a reader with.
#include <gtest/gtest.h>

#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>

#include <limits>

#include "host/HostError.h"
#include "pdf/ContentTree.h"
#include "pdf/ImageDataLength.h"
#include "pdf/TransparencyTest.h"

namespace tessera::pdf {
namespace {

class ContentTreeTest : public testing::Test {
protected:
    ContentTreeTest() { qpdf.emptyPDF(); }
    QPDFObjectHandle Page(const std::string& content, const std::string& resources = "<< >>") {
        QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
        page.replaceKey("/Resources", QPDFObjectHandle::parse(resources));
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&qpdf, content));
        page = qpdf.makeIndirectObject(page);
        qpdf.addPage(page, false);
        return page;
    }
    QPDFObjectHandle XObject(const std::string& dict, const std::string& data = "") {
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&qpdf, data);
        for (const auto& [key, value] : QPDFObjectHandle::parse(dict).getDictAsMap())
            stream.getDict().replaceKey(key, value);
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

TEST_F(ContentTreeTest, OperatorsBecomeElementsAsAReaderSeesThem) {
    QPDFObjectHandle page = Page("BT /Span << /MCID 0 >> BDC (x) Tj EMC ET "   // marked content inside text: no container
                                 "BT 1 0 0 1 5 5 Tm ET "                      // no text shown: nothing
                                 "/A BMC 0 0 m 5 5 l S q 0 0 5 5 re W n Q EMC "  // a painted path; a clip alone is nothing
                                 "EMC EMC "                                   // unbalanced: ignored
                                 "/Ps Do /Ps2 Do /Fm Do /Missing Do /Im Do "
                                 "(%!PS) PS /Sh sh /B BMC BI /W 1 /H 1 /CS /G /BPC 8 ID\nx\nEI",
                                 "<< >>");
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Ps", XObject("<< /Subtype /PS >>"));
    xobjects.replaceKey("/Ps2", XObject("<< /Subtype /Form /Subtype2 /PS /BBox [0 0 1 1] >>"));
    xobjects.replaceKey("/Fm", XObject("<< /Subtype /Form /BBox [0 0 1 1] >>"));
    xobjects.replaceKey("/Im", XObject("<< /Subtype /Image /Width 10 /Height 3 /ColorSpace /DeviceRGB "
                                       "/BitsPerComponent 8 /Filter /FlateDecode >>", "0123456789"));
    page.getKey("/Resources").replaceKey("/XObject", xobjects);
    const ContentTree tree = ContentTree::OfPage(page);
    EXPECT_EQ(Shape(tree), "1 12[2] 5 5 4 3 5 16 12[3]") << "an unclosed container holds the rest";

    const ContentNode& image = tree.Node(tree.Node(0).children[5]);
    EXPECT_TRUE(image.image.isStoredObject);
    EXPECT_EQ(image.image.objectType, host::kObjectTypeStream);
    EXPECT_EQ(image.image.storedLength, 10);
    EXPECT_EQ(image.image.dataLength, 90);
    const ContentNode& inlineImage = tree.Node(tree.Node(tree.Node(0).children[8]).children[0]);
    EXPECT_FALSE(inlineImage.image.isStoredObject);
}

TEST_F(ContentTreeTest, TextCountsWhereverItIsShown) {
    const struct {
        const char* content;
        const char* shape;
    } cases[] = {
        {"(x) Tj", "1"},                       // outside any text object
        {"/A BMC [(x)] TJ EMC", "12[1]"},      // the same inside marked content
        {"BT /F 9 Tf (x) Tj", "1"},            // a text object the stream never closes
        {"BT (x) Tj BT ET", "1"},              // cut off by a second BT
        {"BT BT (x) Tj ET ET", "1"},           // nested: the inner one shows it
        {"BT /F 9 Tf ET BT ET", ""},           // nothing shown anywhere
    };
    for (const auto& c : cases) EXPECT_EQ(Shape(ContentTree::OfPage(Page(c.content))), c.shape) << c.content;
}

TEST_F(ContentTreeTest, ContentReadOnlyInPartIsRefused) {
    EXPECT_THROW(ContentTree::OfPage(Page("0 0 m 5 5 l S ) ] >> garbage S")), host::HostError);
    QPDFObjectHandle damaged = Page("");
    damaged.getKey("/Contents").replaceStreamData("not deflated", QPDFObjectHandle::newName("/FlateDecode"),
                                                  QPDFObjectHandle::newNull());
    EXPECT_THROW(ContentTree::OfPage(damaged), host::HostError);
    QPDFObjectHandle none = Page("");
    none.removeKey("/Contents");
    EXPECT_EQ(ContentTree::OfPage(none).Node(0).children.size(), 0u);
}

// Random operator soups: each page parses or is refused, never a crash, and
// every element lands in exactly one list.
TEST_F(ContentTreeTest, RandomContentIsReadOrRefused) {
    const char* tokens[] = {"BT", "ET", "/A", "BMC", "<< >>", "BDC", "EMC", "/Im", "/Fm", "/No", "Do", "sh", "PS",
                            "BI", "/W 1 /H 1 /CS /G /BPC 8", "ID\nx\n", "EI", "0 0 1 1 re", "f", "S", "W", "n",
                            "q", "Q", "(x)", "Tj", "[(a)]", "TJ", ")", "]"};
    std::uint32_t seed = 7;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 300; ++round) {
        std::string content;
        for (int i = static_cast<int>(next() % 40); i > 0; --i) content += std::string(tokens[(next() >> 8) % 30]) + " ";
        QPDFObjectHandle page = Page(content);
        page.getKey("/Resources").replaceKey("/XObject", QPDFObjectHandle::newDictionary(
            {{"/Im", XObject("<< /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 >>",
                             "x")},
             {"/Fm", XObject("<< /Subtype /Form /BBox [0 0 1 1] >>")}}));
        try {
            const ContentTree tree = ContentTree::OfPage(page);
            std::size_t listed = 0;
            for (std::uint32_t i = 0; i < tree.NodeCount(); ++i) listed += tree.Node(i).children.size();
            EXPECT_EQ(listed + 1, tree.NodeCount()) << content;
        } catch (const host::HostError&) {
        }
    }
}

TEST(ImageDataLengthTest, RowsArePaddedAndColourSpacesCounted) {
    const auto length = [](const std::string& dict, const std::string& resources = "<< >>") {
        return ImageDataLength(QPDFObjectHandle::parse(dict), QPDFObjectHandle::parse(resources));
    };
    EXPECT_EQ(length("<< /Width 10 /Height 4 /ImageMask true >>"), 8) << "10 bits make 2 bytes a row";
    EXPECT_EQ(length("<< /W 3 /H 2 /CS /RGB /BPC 8 >>"), 18) << "inline-image abbreviations";
    EXPECT_EQ(length("<< /Width 2 /Height 2 /ColorSpace [/Indexed /DeviceRGB 1 <000000FFFFFF>] /BitsPerComponent 4 >>"), 2);
    EXPECT_EQ(length("<< /Width 2 /Height 1 /ColorSpace [/DeviceN [/A /B /C] /DeviceCMYK null] /BitsPerComponent 8 >>"), 6);
    EXPECT_EQ(length("<< /Width 2 /Height 1 /ColorSpace /CS0 /BitsPerComponent 16 >>",
                     "<< /ColorSpace << /CS0 [/Separation /Spot /DeviceCMYK null] >> >>"), 4);
    EXPECT_EQ(length("<< /Width 5 /Height 5 /Filter /JPXDecode >>"), 0) << "the codestream knows; we do not";
    EXPECT_EQ(length("<< /Width -5 /Height 5 /ColorSpace /DeviceGray /BitsPerComponent 8 >>"), 0);
    EXPECT_EQ(length("<< /Width 4294967296 /Height 4294967296 /ColorSpace /DeviceCMYK /BitsPerComponent 16 >>"), 0)
        << "a size that overflows is unknown, not clamped";
}

// A dictionary that claims more than its stream could ever decode to has an
// unknown size; real blank scans compress well, but never that well.
TEST(ImageDataLengthTest, SizesBeyondWhatTheStreamCouldHoldAreUnknown) {
    QPDF qpdf;
    qpdf.emptyPDF();
    const std::string white(1000 * 1000, '\xff');
    std::string deflated;  // the best zlib does: 1000 x 1000 white gray pixels in 991 bytes
    Pl_String sink("deflated", nullptr, deflated);
    Pl_Flate flate("flate", &sink, Pl_Flate::a_deflate);
    Pl_Flate::setCompressionLevel(9);
    flate.write(reinterpret_cast<const unsigned char*>(white.data()), white.size());
    flate.finish();
    const struct {
        const char* dict;
        std::string data;
        std::int64_t expected;
    } cases[] = {
        {"/Width 1000 /Height 1000 /BitsPerComponent 8 /Filter /FlateDecode", deflated, 1000000},
        {"/Width 1000 /Height 10000 /BitsPerComponent 8 /Filter /FlateDecode", deflated, 0},
        {"/Width 1000 /Height 10000 /BitsPerComponent 8 /Filter [/FlateDecode /FlateDecode]", deflated, 10000000},
        // A real blank sheet: 4,325 bytes of deflated JPEG for 2352 x 1655 gray pixels.
        {"/Width 2352 /Height 1655 /BitsPerComponent 8 /Filter [/FlateDecode /DCTDecode]", std::string(4325, 'j'), 3892560},
        {"/Width 2352 /Height 16550 /BitsPerComponent 8 /Filter /DCTDecode", std::string(4325, 'j'), 0},
        {"/Width 2000 /Height 1000 /BitsPerComponent 1 /Filter /CCITTFaxDecode", std::string(130, 'c'), 250000},
        {"/Width 2000 /Height 1100 /BitsPerComponent 1 /Filter /CCITTFaxDecode", std::string(130, 'c'), 0},
        {"/Width 2000 /Height 9000 /BitsPerComponent 1 /Filter /JBIG2Decode", std::string(130, 'c'), 2250000},
        {"/Width 10 /Height 10 /BitsPerComponent 8", std::string(50, 'r'), 0},
    };
    for (const auto& c : cases) {
        QPDFObjectHandle image = QPDFObjectHandle::newStream(&qpdf);
        image.replaceStreamData(c.data, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
        QPDFObjectHandle dict = QPDFObjectHandle::parse("<< /Subtype /Image /ColorSpace /DeviceGray " +
                                                              std::string(c.dict) + " >>");
        for (const auto& [key, value] : dict.getDictAsMap()) image.getDict().replaceKey(key, value);
        EXPECT_EQ(XObjectImageDataLength(image, QPDFObjectHandle::newDictionary(),
                                         static_cast<std::int64_t>(c.data.size())), c.expected) << c.dict;
    }
}

TEST_F(ContentTreeTest, TransparencyIsFoundWhereverThePageDrawsIt) {
    QPDFObjectHandle plain = Page("/G gs", "<< /ExtGState << /G << /ca 1 /BM /Normal >> >> >>");
    EXPECT_FALSE(UsesTransparency(plain, true));
    QPDFObjectHandle group = Page("");
    group.replaceKey("/Group", QPDFObjectHandle::parse("<< /S /Transparency >>"));
    EXPECT_TRUE(UsesTransparency(group, false));

    // A form that draws itself through its own resources, and inside it a
    // form in a transparency group: the loop ends, the group is found.
    QPDFObjectHandle inner = XObject("<< /Subtype /Form /BBox [0 0 1 1] /Group << /S /Transparency >> >>");
    QPDFObjectHandle outer = XObject("<< /Subtype /Form /BBox [0 0 1 1] >>", "/Self Do /In Do");
    outer.getDict().replaceKey("/Resources", QPDFObjectHandle::newDictionary(
        {{"/XObject", QPDFObjectHandle::newDictionary({{"/Self", outer}, {"/In", inner}})}}));
    QPDFObjectHandle nested = Page("/Out Do");
    nested.getKey("/Resources").replaceKey("/XObject", QPDFObjectHandle::newDictionary({{"/Out", outer}}));
    EXPECT_TRUE(UsesTransparency(nested, false));
    inner.getDict().removeKey("/Group");
    EXPECT_FALSE(UsesTransparency(nested, false));

    QPDFObjectHandle annotated = Page("");
    QPDFObjectHandle appearance = XObject("<< /Subtype /Form /BBox [0 0 1 1] /Resources << /ExtGState << "
                                          "/G << /SMask << /S /Luminosity >> >> >> >> >>", "/G gs");
    QPDFObjectHandle annot = QPDFObjectHandle::parse("<< /Subtype /Square /Rect [0 0 1 1] >>");
    annot.replaceKey("/AP", QPDFObjectHandle::newDictionary({{"/N", appearance}}));
    annotated.replaceKey("/Annots", QPDFObjectHandle::newArray({annot}));
    EXPECT_FALSE(UsesTransparency(annotated, false));
    EXPECT_TRUE(UsesTransparency(annotated, true));
}

}  // namespace
}  // namespace tessera::pdf
