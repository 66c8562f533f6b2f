// XMP packets come from every kind of writer: properties as attributes or
// elements, odd prefixes, comments that look like markup. Edits must touch
// only the property asked for, and never a packet they cannot read.
#include "pdf/writing/XmpPacket.h"

namespace tessera::pdf {
namespace {

constexpr std::string_view kDc = "http://purl.org/dc/elements/1.1/";
constexpr std::string_view kMm = "http://ns.adobe.com/xap/1.0/mm/";
constexpr std::string_view kPdfa = "http://www.aiim.org/pdfa/ns/id/";

const std::string kPacket = R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>
<x:xmpmeta xmlns:x="adobe:ns:meta/"><RDF:RDF xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<!-- <mm:InstanceID>not this</mm:InstanceID> -->
<RDF:Description RDF:about="" xmlns:id="http://www.aiim.org/pdfa/ns/id/" id:part="2" id:conformance="B"/>
<RDF:Description RDF:about="" xmlns:mm="http://ns.adobe.com/xap/1.0/mm/" xmlns:d="http://purl.org/dc/elements/1.1/">
  <mm:InstanceID>uuid:old</mm:InstanceID>
  <d:title><RDF:Alt><RDF:li xml:lang="x-default">Fish &amp; chips</RDF:li></RDF:Alt></d:title>
  <![CDATA[ <d:creator>not this</d:creator> ]]>
</RDF:Description>
</RDF:RDF></x:xmpmeta>
<?xpacket end="w"?>)";

// An element written with a prefix lies inside the element that declares it.
bool InScope(const std::string& xml, const std::string& element, const std::string& declaration) {
    const std::size_t declared = xml.find(declaration), at = xml.find(element, declared);
    const std::size_t open = xml.rfind('<', declared);
    const std::string tag = xml.substr(open + 1, xml.find_first_of(" \n", open) - open - 1);
    return declared != std::string::npos && at > declared && at < xml.find("</" + tag + ">", declared);
}

TEST(XmpPacketTest, ReadsAndEditsWhateverPrefixesAndFormsTheWriterChose) {
    XmpPacket xmp(kPacket);
    ASSERT_TRUE(xmp.Valid());
    EXPECT_EQ(xmp.Text(kMm, "InstanceID"), "uuid:old");
    EXPECT_EQ(xmp.Text(kDc, "title"), "Fish & chips");
    EXPECT_EQ(xmp.Text(kPdfa, "part"), "2");
    EXPECT_EQ(xmp.Text(kDc, "creator"), std::nullopt) << "inside CDATA is no property";

    xmp.SetText(kMm, "xmpMM", "InstanceID", "uuid:<new>");
    xmp.SetLangAlt(kDc, "dc", "title", "Title \"quoted\"");
    xmp.SetSeq(kDc, "dc", "creator", "Ann");
    xmp.Remove(kPdfa, "part");
    xmp.SetText("http://ns.adobe.com/pdf/1.3/", "pdf", "Producer", "Tessera");
    ASSERT_TRUE(xmp.Valid()) << xmp.Xml();
    EXPECT_EQ(xmp.Text(kMm, "InstanceID"), "uuid:<new>");
    EXPECT_EQ(xmp.Text(kDc, "title"), "Title \"quoted\"");
    EXPECT_EQ(xmp.Text(kDc, "creator"), "Ann");
    EXPECT_EQ(xmp.Text(kPdfa, "part"), std::nullopt);
    EXPECT_EQ(xmp.Text(kPdfa, "conformance"), "B") << "only the property asked for goes";
    EXPECT_EQ(xmp.Text("http://ns.adobe.com/pdf/1.3/", "Producer"), "Tessera");
    const std::string& xml = xmp.Xml();
    EXPECT_NE(xml.find("<!-- <mm:InstanceID>not this</mm:InstanceID> -->"), std::string::npos);
    EXPECT_TRUE(InScope(xml, "<d:creator>", "xmlns:d=")) << "the packet's own prefix, where it holds:\n" << xml;
    EXPECT_TRUE(InScope(xml, "<d:title>", "xmlns:d=")) << xml;
    EXPECT_TRUE(InScope(xml, "<mm:InstanceID>", "xmlns:mm=")) << xml;
    EXPECT_NE(xml.find("xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\""), std::string::npos) << xml;
    EXPECT_EQ(xml.find("uuid:old"), std::string::npos);
    EXPECT_NE(xml.find("<?xpacket end=\"w\"?>"), std::string::npos);
}

TEST(XmpPacketTest, AnEmptyDescriptionOpensAndAPacketWithoutOneGetsOne) {
    const std::string rdf = "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">";
    XmpPacket bare(rdf + "<rdf:Description rdf:about=\"\" />\n</rdf:RDF>");
    bare.SetText(kMm, "xmpMM", "DocumentID", "a");
    EXPECT_EQ(bare.Text(kMm, "DocumentID"), "a") << bare.Xml();
    XmpPacket none(rdf + "</rdf:RDF>");
    none.SetText(kMm, "xmpMM", "DocumentID", "b");
    EXPECT_EQ(none.Text(kMm, "DocumentID"), "b") << none.Xml();
    // A prefix already bound elsewhere is not taken over.
    XmpPacket taken(rdf + "<rdf:Description xmlns:xmpMM=\"urn:other\"/></rdf:RDF>");
    taken.SetText(kMm, "xmpMM", "DocumentID", "c");
    EXPECT_EQ(taken.Text(kMm, "DocumentID"), "c") << taken.Xml();
    EXPECT_EQ(taken.Text("urn:other", "DocumentID"), std::nullopt) << taken.Xml();
}

TEST(XmpPacketTest, APacketItCannotReadIsLeftAlone) {
    for (const std::string& broken :
         {std::string("<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description>"),
          std::string("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"></x:xmpmeta>"), std::string("<a><!-- open"),
          std::string("not xml at all &#xZZ; &#99999999;")}) {
        XmpPacket xmp(broken);
        EXPECT_FALSE(xmp.Valid()) << broken;
        xmp.SetText(kMm, "xmpMM", "InstanceID", "x");
        xmp.Remove(kMm, "InstanceID");
        EXPECT_EQ(xmp.Xml(), broken);
    }
}

}  // namespace
}  // namespace tessera::pdf
