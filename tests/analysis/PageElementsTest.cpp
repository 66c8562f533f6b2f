// Element counts and content queries on fixture pages read through the real host.
#include <gtest/gtest.h>

#include "analysis/ElementCountTable.h"
#include "analysis/QueryResolution.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

using Kind = host::PageElementKind;

class PageElementsTest : public testing::Test {
protected:
    QPDFObjectHandle Resources() {
        QPDFObjectHandle form = QPDFObjectHandle::newStream(&pdf.Qpdf(), "0 0 10 10 re f");
        form.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
        form.getDict().replaceKey("/BBox", QPDFObjectHandle::parse("[0 0 10 10]"));
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary(
                                             {{"/Im", pdf.GrayImage(2, 2, "abcd")}, {"/Fm", form}}));
        resources.replaceKey("/ExtGState", QPDFObjectHandle::parse("<< /Half << /ca 0.5 >> /Opaque << /ca 1 >> >>"));
        return resources;
    }
    ElementCountTable Counts(host::DocId doc, int page) {
        PageContentHolder holder;
        EXPECT_TRUE(holder.Acquire(doc, page));
        ElementCountTable counts;
        EXPECT_TRUE(CountPageElements(holder, counts));
        return counts;
    }
    host::DocId Open() {
        const std::string path = host.folder / "fixture.pdf";
        pdf.Write(path);
        return host.OpenActive(path);
    }
    // The 1-based pages a content query of these kinds finds.
    std::vector<int> PagesWith(host::DocId doc, std::vector<Kind> kinds) {
        PageRange range;
        range.Query.Enable = true;
        range.Query.Target = QueryTarget::QueryPageContent;
        range.Query.PageContentQuery = std::move(kinds);
        OutputList outputs(1);
        outputs[0].Ranges.push_back(range);
        DocumentHandle document(doc, DocumentHandle::Ownership::Borrowed);
        EXPECT_TRUE(ResolveQueryRanges(document, outputs, 0, -1));
        std::vector<int> pages;
        for (const OutputDocument& o : outputs)
            for (const PageRange& r : o.Ranges) pages.push_back(r.StartPage + 1);
        return pages;
    }
    test::PdfFixture pdf{0};
    test::TestHost host;
};

TEST_F(PageElementsTest, ContentElementsAreCountedInsideContainersToo) {
    pdf.AddContentPage("/Figure BMC /Inner BMC /Im Do EMC EMC /Sh sh 0 0 5 5 re S", Resources());  // 1
    pdf.AddContentPage("/Figure BMC /Im Do EMC", Resources());                                    // 2
    pdf.AddContentPage("/Fm Do BI /W 1 /H 1 /CS /G /BPC 8 ID\nx\nEI", Resources());               // 3
    const host::DocId doc = Open();
    const ElementCountTable first = Counts(doc, 0);
    EXPECT_EQ(ElementCount(first, Kind::Image), 1u);
    EXPECT_EQ(ElementCount(first, Kind::Shading), 1u);
    EXPECT_EQ(ElementCount(first, Kind::Path), 1u);
    EXPECT_EQ(ElementCount(first, Kind::Container), 0u) << "containers are walked, not counted";
    EXPECT_EQ(ElementCount(first, Kind{45}), 0u);
    EXPECT_EQ(ElementCount(first, Kind{-1}), 0u);
    const ElementCountTable third = Counts(doc, 2);
    EXPECT_EQ(ElementCount(third, Kind::Form), 1u);
    EXPECT_EQ(ElementCount(third, Kind::Image), 1u) << "an inline image is an image";

    EXPECT_EQ(PagesWith(doc, {Kind::Image, Kind::Shading}), (std::vector<int>{1})) << "every kind asked for must be there";
    EXPECT_EQ(PagesWith(doc, {Kind::Image}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(PagesWith(doc, {Kind::Form}), (std::vector<int>{3})) << "a form XObject without a field is a form element";
    EXPECT_TRUE(PagesWith(doc, {Kind::PlaySound}).empty());
    EXPECT_TRUE(PagesWith(doc, {Kind::PlayMovie}).empty());
    EXPECT_TRUE(PagesWith(doc, {Kind::Image, Kind{99}}).empty()) << "a kind outside the table is absent";
}

TEST_F(PageElementsTest, AnnotationsCountByTheirSubtypeAndTheirAction) {
    for (int i = 0; i < 5; ++i) pdf.AddContentPage("");
    pdf.AddAnnotation(0, "Link", "GoToR");
    pdf.AddAnnotation(1, "Link", "URI");
    pdf.AddAnnotation(2, "FreeText");
    pdf.AddAnnotation(2, "Widget", "SubmitForm");
    pdf.AddAnnotation(3, "Link").replaceKey("/Dest", QPDFObjectHandle::newArray({pdf.Page(0),
                                                                                QPDFObjectHandle::newName("/Fit")}));
    pdf.AddAnnotation(4, "Popup");
    pdf.AddAnnotation(4, "Stamp", "JavaScript");
    pdf.Page(4).getKey("/Annots").appendItem(QPDFObjectHandle::newInteger(7));  // not an annotation at all
    const host::DocId doc = Open();

    EXPECT_EQ(PagesWith(doc, {Kind::ExternalLink}), (std::vector<int>{1}));
    EXPECT_EQ(PagesWith(doc, {Kind::LinkToPage}), (std::vector<int>{4})) << "GoToR is not a link to a page; a /Dest is";
    EXPECT_EQ(PagesWith(doc, {Kind::WebLink}), (std::vector<int>{2}));
    EXPECT_EQ(PagesWith(doc, {Kind::TextComment}), (std::vector<int>{3})) << "FreeText is a text comment";
    EXPECT_EQ(PagesWith(doc, {Kind::Form, Kind::SubmitForm}), (std::vector<int>{3})) << "a widget is a form element";
    EXPECT_EQ(PagesWith(doc, {Kind::Popup, Kind::Stamp, Kind::JavaScript}), (std::vector<int>{5}));
    const ElementCountTable uri = Counts(doc, 1);
    std::uint32_t total = 0;
    for (std::uint32_t count : uri) total += count;
    EXPECT_EQ(total, 1u) << "a URI link counts as a web link only";
}

TEST_F(PageElementsTest, PagePropertiesCountOncePerPage) {
    for (int i = 0; i < 5; ++i) pdf.AddContentPage("/Half gs /Im Do 0 0 5 5 re f", Resources());
    pdf.Page(0).replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
    pdf.Page(1).replaceKey("/Rotate", QPDFObjectHandle::newInteger(-360));
    pdf.Page(2).replaceKey("/Trans", QPDFObjectHandle::parse("<< /S /Dissolve >>"));
    // Transparency reached only through what is drawn: an image with a soft
    // mask, a form in a transparency group, an annotation's appearance.
    pdf.Page(3).replaceKey("/Resources", QPDFObjectHandle::parse("<< /ExtGState << /Half << /BM /Multiply >> >> >>"));
    for (int page : {0, 1, 2, 4}) pdf.Page(page).getKey("/Resources").getKey("/ExtGState").removeKey("/Half");
    QPDFObjectHandle mask = pdf.GrayImage(2, 2, "abcd");
    pdf.Page(4).getKey("/Resources").getKey("/XObject").getKey("/Im").getDict().replaceKey("/SMask", mask);
    const host::DocId doc = Open();

    EXPECT_EQ(PagesWith(doc, {Kind::Rotated}), (std::vector<int>{1})) << "-360 is no rotation";
    EXPECT_EQ(PagesWith(doc, {Kind::Transition}), (std::vector<int>{3}));
    EXPECT_EQ(PagesWith(doc, {Kind::Transparency}), (std::vector<int>{4, 5}));
    EXPECT_EQ(ElementCount(Counts(doc, 0), Kind::Rotated), 1u);
}

// Pages that share one resource dictionary: only what each page's content,
// and the forms it draws, use makes it a page with transparency.
TEST_F(PageElementsTest, TransparencyCountsOnlyWhereTheContentUsesIt) {
    QPDFObjectHandle shared = pdf.Qpdf().makeIndirectObject(Resources());
    shared.getKey("/XObject").getKey("/Fm").replaceStreamData("/Half gs 0 0 1 1 re f", QPDFObjectHandle::newNull(),
                                                              QPDFObjectHandle::newNull());
    shared.getKey("/XObject").getKey("/Im").getDict().replaceKey("/SMask", pdf.GrayImage(2, 2, "abcd"));
    for (const char* content : {"/Opaque gs 0 0 5 5 re f", "/Half gs 0 0 5 5 re f", "/Fm Do", "/Im Do", ""})
        pdf.AddContentPage(content, shared);
    EXPECT_EQ(PagesWith(Open(), {Kind::Transparency}), (std::vector<int>{2, 3, 4}));
}

TEST_F(PageElementsTest, AnUnreadablePageAnswersWhatCanBeReadAndIsReportedOncePerScan) {
    pdf.AddContentPage("/Im Do", Resources());
    pdf.AddContentPage("BT /F1 12 Tf (Chapter) Tj ET");
    pdf.AddContentPage("");  // unreadable content, but a rotated page with a web link
    pdf.Page(2).replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
    pdf.AddAnnotation(2, "Link", "URI");
    pdf.AddContentPage("/Im Do", Resources());
    pdf.AddContentPage("");  // unreadable too
    for (int page : {2, 4})
        pdf.Page(page).getKey("/Contents").replaceStreamData("garbage", QPDFObjectHandle::newName("/FlateDecode"),
                                                             QPDFObjectHandle::newNull());
    const host::DocId doc = Open();
    EXPECT_EQ(PagesWith(doc, {Kind::Image}), (std::vector<int>{1, 4}));
    EXPECT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_EQ(PagesWith(doc, {Kind::Rotated, Kind::WebLink}), (std::vector<int>{3}));
    EXPECT_TRUE(PagesWith(doc, {Kind::Rotated, Kind::Transparency}).empty()) << "content kinds stay unknown";
    EXPECT_EQ(host.viewer.alerts.size(), 3u) << "once per scan";
}

}  // namespace
}  // namespace tessera
