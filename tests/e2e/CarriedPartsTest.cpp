// What an output keeps of its input's document-level parts: the tags cut to
// its pages, the layers its pages use, metadata that is true of it, and the
// attached files, on a tagged and layered file made here and read back with
// qpdf and poppler.

#include <qpdf/QPDFNumberTreeObjectHelper.hh>

#include "e2e/E2eSupport.h"
#include "support/PdfFixture.h"

namespace tessera::test {
namespace {

using Handle = QPDFObjectHandle;

const char* const kXmp = R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>
<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:xmpMM="http://ns.adobe.com/xap/1.0/mm/"
 xmlns:pdfaid="http://www.aiim.org/pdfa/ns/id/" xmlns:pdfuaid="http://www.aiim.org/pdfua/ns/id/"
 pdfaid:part="2" pdfaid:conformance="B" pdfuaid:part="1">
<dc:title><rdf:Alt><rdf:li xml:lang="x-default">Tagged sample</rdf:li></rdf:Alt></dc:title>
<xmpMM:InstanceID>uuid:00000000-0000-0000-0000-000000000001</xmpMM:InstanceID>
</rdf:Description></rdf:RDF></x:xmpmeta>
<?xpacket end="w"?>)";

Handle Dict(QPDF& q, const std::string& text) { return q.makeIndirectObject(Handle::parse(text)); }

// Four pages of marked content: a heading and a paragraph in layer A on
// page 1; a paragraph and a link (text and annotation) on page 2; a figure
// drawn by a form in layer B (by a membership) and a note that goes on onto page 4; a last
// paragraph. Layer C is declared and used nowhere.
struct TaggedFile {
    PdfFixture pdf{0};
    Handle groups[3];

    explicit TaggedFile(const std::string& path) {
        QPDF& q = pdf.Qpdf();
        for (int i = 0; i < 3; ++i)
            groups[i] = Dict(q, "<< /Type /OCG /Name (" + std::string(1, static_cast<char>('A' + i)) + ") >>");
        Handle font = Dict(q, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
        Handle form = Handle::newStream(&q, "0 0 1 rg 0 0 50 50 re f");
        form.getDict().replaceKey("/Subtype", Handle::newName("/Form"));
        form.getDict().replaceKey("/BBox", Handle::parse("[0 0 50 50]"));
        // A membership that lists itself, as damaged files have.
        Handle membership = Dict(q, "<< /Type /OCMD >>");
        membership.replaceKey("/OCGs", Handle::newArray({membership, groups[1]}));
        form.getDict().replaceKey("/OC", membership);
        const auto text = [](const char* tag, int mcid, const char* words, int y) {
            return std::string("/") + tag + " <</MCID " + std::to_string(mcid) + ">> BDC BT /F1 12 Tf 72 " +
                   std::to_string(y) + " Td (" + words + ") Tj ET EMC\n";
        };
        Handle resources = Handle::newDictionary({{"/Font", Handle::newDictionary({{"/F1", font}})}});
        Handle page1 = Page(text("H1", 0, "Heading one", 700) + text("P", 1, "First para", 650) +
                                "/OC /LA BDC BT /F1 12 Tf 72 600 Td (In layer A) Tj ET EMC\n",
                            resources, "/Properties", Handle::newDictionary({{"/LA", groups[0]}}));
        Handle page2 = Page(text("P", 0, "Second para", 700) + text("Link", 1, "Go to four", 650), resources);
        Handle page3 = Page("/Figure <</MCID 0>> BDC q /Fm1 Do Q EMC\n" + text("P", 1, "Note starts", 600), resources,
                            "/XObject", Handle::newDictionary({{"/Fm1", form}}));
        Handle page4 = Page(text("P", 0, "note ends", 700) + text("P", 1, "Last para", 650), resources);
        Handle link = Dict(q, "<< /Type /Annot /Subtype /Link /Rect [72 640 200 660] /StructParent 100 >>");
        link.replaceKey("/Dest", Handle::newArray({page4, Handle::newName("/Fit")}));
        page2.replaceKey("/Annots", Handle::newArray({link}));
        Tree(q, {page1, page2, page3, page4}, link);
        Catalog(q);
        pdf.Write(path);
    }

    Handle Page(const std::string& content, Handle resources, const char* extraKey = nullptr,
                Handle extra = Handle::newNull()) {
        Handle own = resources.shallowCopy();
        if (extraKey) own.replaceKey(extraKey, extra);
        Handle page = pdf.AddContentPage(content, own);
        page.replaceKey("/StructParents", Handle::newInteger(static_cast<long long>(pages_++)));
        return page;
    }

    void Tree(QPDF& q, std::vector<Handle> p, Handle link) {
        Handle root = Dict(q, "<< /Type /StructTreeRoot >>");
        Handle doc = Dict(q, "<< /S /Document /Lang (en-GB) >>");
        const auto element = [&](const std::string& text, Handle page) {
            Handle e = Dict(q, text);
            e.replaceKey("/P", doc);
            if (!page.isNull()) e.replaceKey("/Pg", page);
            return e;
        };
        Handle h1 = element("<< /S /Heading1 /K 0 /ID (h-one) >>", p[0]);
        Handle p1 = element("<< /S /P /K 1 /C /Body >>", p[0]);
        Handle sect = element("<< /S /Sect >>", Handle::newNull());
        Handle p2 = element("<< /S /P /K 0 >>", p[1]);
        Handle a = element("<< /S /Link >>", p[1]);
        p2.replaceKey("/P", sect);
        a.replaceKey("/P", sect);
        a.replaceKey("/K",
                     Handle::newArray({Handle::newInteger(1),
                                       Handle::newDictionary({{"/Type", Handle::newName("/OBJR")}, {"/Obj", link}})}));
        sect.replaceKey("/K", Handle::newArray({p2, a}));
        Handle fig = element("<< /S /Figure /K 0 /Alt (A blue square) >>", p[2]);
        Handle note = element("<< /S /Note /Lang (de) >>", Handle::newNull());
        note.replaceKey("/K", Handle::newArray({McrOn(p[2], 1), McrOn(p[3], 0)}));
        Handle last = element("<< /S /P /K 1 /ID (last) >>", p[3]);
        doc.replaceKey("/P", root);
        doc.replaceKey("/K", Handle::newArray({h1, p1, sect, fig, note, last}));
        root.replaceKey("/K", Handle::newArray({doc}));
        root.replaceKey(
            "/ParentTree",
            Handle::newDictionary(
                {{"/Nums", Handle::newArray({Handle::newInteger(0), Pair(h1, p1), Handle::newInteger(1), Pair(p2, a),
                                             Handle::newInteger(2), Pair(fig, note), Handle::newInteger(3),
                                             Pair(note, last), Handle::newInteger(100), a})}}));
        root.replaceKey("/RoleMap", Handle::parse("<< /Heading1 /H1 /Unused /P >>"));
        root.replaceKey("/ClassMap", Handle::parse("<< /Body << /O /Layout >> /Unused << /O /Layout >> >>"));
        root.replaceKey(
            "/IDTree",
            Handle::newDictionary(
                {{"/Names", Handle::newArray({Handle::newString("h-one"), h1, Handle::newString("last"), last})}}));
        q.getRoot().replaceKey("/StructTreeRoot", root);
    }

    static Handle McrOn(Handle page, int mcid) {
        return Handle::newDictionary(
            {{"/Type", Handle::newName("/MCR")}, {"/Pg", page}, {"/MCID", Handle::newInteger(mcid)}});
    }
    static Handle Pair(Handle a, Handle b) { return Handle::newArray({a, b}); }

    void Catalog(QPDF& q) {
        Handle root = q.getRoot();
        root.replaceKey("/MarkInfo", Handle::parse("<< /Marked true >>"));
        root.replaceKey("/Lang", Handle::newString("en"));
        Handle order =
            Handle::newArray({Handle::newArray({Handle::newString("Pictures"), groups[0], groups[1]}), groups[2]});
        Handle config =
            Handle::newDictionary({{"/Order", order},
                                   {"/ON", Handle::newArray({groups[0], groups[1], groups[2]})},
                                   {"/RBGroups", Handle::newArray({Handle::newArray({groups[0], groups[2]})})},
                                   {"/Locked", Handle::newArray({groups[2]})}});
        root.replaceKey(
            "/OCProperties",
            Handle::newDictionary({{"/OCGs", Handle::newArray({groups[0], groups[1], groups[2]})}, {"/D", config}}));
        Handle metadata = Handle::newStream(&q, kXmp);
        metadata.getDict().replaceKey("/Type", Handle::newName("/Metadata"));
        metadata.getDict().replaceKey("/Subtype", Handle::newName("/XML"));
        root.replaceKey("/Metadata", metadata);
        root.replaceKey("/OutputIntents", Handle::parse("[<< /Type /OutputIntent /S /GTS_PDFA1 >>]"));
        q.getTrailer().replaceKey("/Info", Dict(q, "<< /Title (Tagged sample) >>"));
        Handle file = Handle::newStream(&q, "attached");
        file.getDict().replaceKey("/Type", Handle::newName("/EmbeddedFile"));
        Handle spec = Dict(q, "<< /Type /Filespec /F (note.txt) /UF (note.txt) >>");
        spec.replaceKey("/EF", Handle::newDictionary({{"/F", file}}));
        root.replaceKey(
            "/Names",
            Handle::newDictionary(
                {{"/EmbeddedFiles",
                  Handle::newDictionary({{"/Names", Handle::newArray({Handle::newString("note.txt"), spec})}})}}));
    }

private:
    int pages_ = 0;
};

// An output opened with qpdf (with its password, when it has one).
struct Output {
    QPDF q;
    explicit Output(const std::string& path, const std::string& password = "") {
        q.processFile(path.c_str(), password.empty() ? nullptr : password.c_str());
    }
    Handle Root() { return q.getRoot(); }
    std::string Xmp() {
        auto data = Root().getKey("/Metadata").getStreamData(qpdf_dl_generalized);
        return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    }
};

// Every number a page or annotation carries leads through the parent tree to
// elements whose ancestors reach the root and whose pages are the output's.
void ExpectTreeHolds(Output& out) {
    Handle root = out.Root().getKey("/StructTreeRoot");
    ASSERT_TRUE(root.isDictionary());
    QPDFNumberTreeObjectHelper parents(root.getKey("/ParentTree"), out.q);
    std::set<QPDFObjGen> pages;
    for (Handle page : out.q.getAllPages()) pages.insert(page.getObjGen());
    const auto expectElement = [&](Handle e) {
        ASSERT_TRUE(e.isDictionary() && e.hasKey("/S"));
        if (e.hasKey("/Pg")) {
            EXPECT_EQ(pages.count(e.getKey("/Pg").getObjGen()), 1u) << "a page of another output";
        }
        int depth = 0;
        for (Handle up = e; !up.getKey("/Type").isNameAndEquals("/StructTreeRoot"); up = up.getKey("/P"))
            ASSERT_LT(++depth, 10) << "no way up to the root";
    };
    for (Handle page : out.q.getAllPages()) {
        Handle entry;
        if (page.hasKey("/StructParents")) {
            ASSERT_TRUE(parents.findObject(page.getKey("/StructParents").getIntValue(), entry));
            for (Handle e : entry.aitems()) {
                expectElement(e);
                // Its content numbers are found on the page it names.
                Handle k = e.getKey("/K");
                if (k.isInteger() || (k.isArray() && k.getArrayItem(0).isInteger())) {
                    EXPECT_EQ(e.getKey("/Pg").getObjGen(), page.getObjGen());
                }
            }
        }
        Handle annots = page.getKey("/Annots");
        if (!annots.isArray()) continue;
        for (Handle annot : annots.aitems())
            if (annot.hasKey("/StructParent")) {
                ASSERT_TRUE(parents.findObject(annot.getKey("/StructParent").getIntValue(), entry));
                expectElement(entry);
            }
    }
}

// poppler's reading of the structure tree, the words of its elements.
std::string StructureText(const std::string& file) {
    return RunCommand("pdfinfo -struct-text " + ShellQuote(file) + " 2>/dev/null").output;
}

std::vector<std::string> GroupNames(Output& out) {
    std::vector<std::string> names;
    for (Handle g : out.Root().getKey("/OCProperties").getKey("/OCGs").aitems())
        names.push_back(g.getKey("/Name").getUTF8Value());
    return names;
}

class CarriedPartsTest : public testing::Test {
protected:
    TempFolder config, work;
    const std::string input = work / "tagged.pdf";
    TaggedFile file{input};
};

TEST_F(CarriedPartsTest, EachPageTakesItsElementsLayersAndFiles) {
    TempFolder out;
    ASSERT_EQ(Split(config, out.Path(), "--equal 1 " + ShellQuote(input)).status, 0);
    const std::vector<std::vector<std::string>> words = {
        {"Heading one", "First para"}, {"Second para", "Go to four"}, {"Note starts"}, {"note ends", "Last para"}};
    const std::vector<std::vector<std::string>> layers = {{"A"}, {}, {"B"}, {}};
    std::set<std::string> instances;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k + 1);
        const std::string path = out / ("Doc" + std::to_string(k + 1) + ".pdf");
        EXPECT_TRUE(QpdfCheckPasses(path));
        Output doc(path);
        ExpectTreeHolds(doc);
        EXPECT_TRUE(doc.Root().hasKey("/MarkInfo"));
        const std::string tree = StructureText(path);
        for (const std::string& w : words[k]) EXPECT_NE(tree.find(w), std::string::npos) << w << " in\n" << tree;
        for (int other = 0; other < 4; ++other)
            for (const std::string& w : words[other])
                if (other != k) {
                    EXPECT_EQ(tree.find(w), std::string::npos) << w << " of another page in\n" << tree;
                }
        if (layers[k].empty())
            EXPECT_FALSE(doc.Root().hasKey("/OCProperties"));
        else
            EXPECT_EQ(GroupNames(doc), layers[k]);
        const std::string xmp = doc.Xmp();
        EXPECT_NE(xmp.find("pdfaid:part=\"2\""), std::string::npos) << "nothing broke PDF/A:\n" << xmp;
        EXPECT_NE(xmp.find("pdfuaid:part"), std::string::npos) << "the tags were carried";
        EXPECT_EQ(xmp.find("uuid:00000000-0000-0000-0000-000000000001"), std::string::npos) << "the input's id";
        instances.insert(xmp.substr(xmp.find("InstanceID>") + 11, 41));
        EXPECT_TRUE(doc.Root().getKey("/Names").getKey("/EmbeddedFiles").isDictionary());
    }
    EXPECT_EQ(instances.size(), 4u) << "each output has an instance of its own";
    const std::string figure = StructureText(out / "Doc3.pdf");
    EXPECT_NE(figure.find("Figure"), std::string::npos) << figure;
    EXPECT_NE(figure.find("Note"), std::string::npos) << "the note's first half is on page 3";
    EXPECT_EQ(StructureText(out / "Doc1.pdf").find("Sect"), std::string::npos) << "nothing of it on page 1";
}

TEST_F(CarriedPartsTest, PagesOutOfOrderAndTakenTwiceKeepAValidTree) {
    TempFolder out;
    ASSERT_EQ(Split(config, out.Path(), "--doc 'X=4,1,3' --doc 'Y=2,2' " + ShellQuote(input)).status, 0);
    for (const char* name : {"DOCX.pdf", "DOCY.pdf"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QpdfCheckPasses(out / name));
        Output doc(out / name);
        ExpectTreeHolds(doc);
    }
    Output twice(out / "DOCY.pdf");
    const auto pages = twice.q.getAllPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(Handle(pages[0]).hasKey("/StructParents"));
    EXPECT_FALSE(Handle(pages[1]).hasKey("/StructParents")) << "its content is claimed by the first copy";
    EXPECT_FALSE(Handle(pages[1]).getKey("/Annots").getArrayItem(0).hasKey("/StructParent"));
    Output mixed(out / "DOCX.pdf");
    const std::string tree = StructureText(out / "DOCX.pdf");
    EXPECT_LT(tree.find("Heading one"), tree.find("Last para")) << "the input's order, not the pages':\n" << tree;
    EXPECT_EQ(mixed.Root().getKey("/StructTreeRoot").getKey("/RoleMap").getKeys(), std::set<std::string>{"/Heading1"});
    EXPECT_EQ(mixed.Root().getKey("/StructTreeRoot").getKey("/ClassMap").getKeys(), std::set<std::string>{"/Body"});
    EXPECT_EQ(GroupNames(mixed), (std::vector<std::string>{"A", "B"}));
    Handle order = mixed.Root().getKey("/OCProperties").getKey("/D").getKey("/Order");
    EXPECT_EQ(order.unparse().find("Pictures") != std::string::npos, true) << "its label stays above A and B";
    EXPECT_EQ(order.getArrayNItems(), 1) << "C is gone: " << order.unparse();
    EXPECT_EQ(mixed.Root().getKey("/OCProperties").getKey("/D").getKey("/RBGroups").getArrayNItems(), 0);
}

TEST_F(CarriedPartsTest, ClaimsTheOutputsCannotHonourGoAndAreSaidOnce) {
    TempFolder out;
    const CommandResult r =
        Tessera(config, "split --reset --prefix none -o " + ShellQuote(out.Path()) +
                            " --equal 2 --no-tags --attachments-first --open-password secret --jobs 2 " +
                            ShellQuote(input) + " 2>&1");
    EXPECT_EQ(r.status, 3) << r.output;
    std::size_t said = 0;
    for (std::size_t at = r.output.find("no longer claim"); at != std::string::npos;
         at = r.output.find("no longer claim", at + 1))
        ++said;
    EXPECT_EQ(said, 1u) << r.output;
    EXPECT_NE(r.output.find("PDF/A-2B: encrypted"), std::string::npos) << r.output;
    for (const char* name : {"Doc1.pdf", "Doc2.pdf"}) {
        SCOPED_TRACE(name);
        Output doc(out / name, "secret");
        EXPECT_FALSE(doc.Root().hasKey("/StructTreeRoot"));
        EXPECT_FALSE(doc.Root().hasKey("/MarkInfo")) << "not tagged without tags";
        EXPECT_FALSE(doc.Root().hasKey("/OutputIntents"));
        for (Handle page : doc.q.getAllPages()) EXPECT_FALSE(page.hasKey("/StructParents"));
        const std::string xmp = doc.Xmp();
        EXPECT_EQ(xmp.find("pdfaid:part"), std::string::npos) << xmp;
        EXPECT_EQ(xmp.find("pdfuaid:part"), std::string::npos) << xmp;
        EXPECT_NE(xmp.find("Tagged sample"), std::string::npos) << "the rest is carried";
    }
    EXPECT_TRUE(Output(out / "Doc1.pdf", "secret").Root().getKey("/Names").getKey("/EmbeddedFiles").isDictionary());
    EXPECT_FALSE(Output(out / "Doc2.pdf", "secret").Root().getKey("/Names").isDictionary());
}

}  // namespace
}  // namespace tessera::test
