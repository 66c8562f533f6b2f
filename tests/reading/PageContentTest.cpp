// What pages draw, read through the real host: blank pages and blank scans,
// element counts and content queries, and content taken and given back once.
#include "reading/BlankPage.h"
#include "reading/QueryResolution.h"
#include "reading/SeparatorPages.h"
#include "support/PdfFixture.h"

namespace tessera {
namespace {

using Kind = host::PageElementKind;
using PageNumbers = std::vector<int>;
constexpr double kThreshold = 40 * 0.0001;  // the default setting
const std::string kText = "BT /F1 12 Tf 72 700 Td (x) Tj ET";

// The host's content services, counting what is taken and given back.
struct ContentLog : host::PageContentServices {
    explicit ContentLog(host::PageContentServices& contents) : contents(contents) {}
    host::ContentId AcquireContent(host::PageId page, std::uint32_t client) override {
        const host::ContentId content = contents.AcquireContent(page, client);
        ++acquired, ++held;
        return content;
    }
    void ReleaseContent(host::ContentId content) override {
        --held;
        contents.ReleaseContent(content);
        if (failRelease) throw host::HostError(host::kErrorGeneral, "the host would not let go");
    }
    host::PageContentServices& contents;
    int acquired = 0, held = 0;
    bool failRelease = false;
};

class PageContentTest : public testing::Test {
protected:
    // The font /F1; the 100x100 gray image /Im, whose stream stores `stored`
    // bytes (a ratio of stored / 10,000); the form /Fm; opacities /Half, /Opaque.
    QPDFObjectHandle Resources(std::size_t stored = 30) {
        QPDFObjectHandle form = QPDFObjectHandle::newStream(&pdf.Qpdf(), "0 0 10 10 re f");
        form.replaceDict(QPDFObjectHandle::parse("<< /Subtype /Form /BBox [0 0 10 10] >>"));
        QPDFObjectHandle resources = QPDFObjectHandle::parse(
            "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> "
            "/ExtGState << /Half << /ca 0.5 >> /Opaque << /ca 1 >> >> >>");
        resources.replaceKey(
            "/XObject",
            QPDFObjectHandle::newDictionary(
                {{"/Im", pdf.GrayImage(100, 100, std::string(stored, 'x'), "/FlateDecode")}, {"/Fm", form}}));
        return resources;
    }
    void Page(const std::string& content, std::size_t stored = 30) { pdf.AddContentPage(content, Resources(stored)); }
    void Open() { pdf.Write(host.folder / "fixture.pdf"), doc = host.OpenActive(host.folder / "fixture.pdf"); }
    DocumentHandle Document() const { return DocumentHandle(doc, DocumentHandle::Ownership::Borrowed); }
    bool Blank(int page, std::optional<double> scanThreshold = std::nullopt) {
        PageContentHolder holder;
        EXPECT_TRUE(holder.Acquire(doc, page));
        return scanThreshold ? IsBlankImagePage(holder, *scanThreshold) : IsBlankPage(holder);
    }
    static PageRange ContentQuery(std::vector<Kind> kinds) {
        PageRange range;
        range.Query.Enable = true, range.Query.Target = QueryTarget::QueryPageContent;
        range.Query.PageContentQuery = std::move(kinds);
        return range;
    }
    // The 1-based pages a content query of these kinds finds.
    PageNumbers PagesWith(std::vector<Kind> kinds) {
        OutputList outputs{OutputDocument{{ContentQuery(std::move(kinds))}, ""}};
        EXPECT_TRUE(ResolveQueryRanges(Document(), outputs, 0, -1));
        PageNumbers pages;
        for (const OutputDocument& o : outputs)
            for (const PageRange& r : o.Ranges) pages.push_back(r.StartPage + 1);
        return pages;
    }
    struct QueryCase {
        const char* name;
        std::vector<Kind> kinds;
        PageNumbers pages;
    };
    void ExpectQueries(std::initializer_list<QueryCase> cases) {
        for (const QueryCase& c : cases) EXPECT_EQ(PagesWith(c.kinds), c.pages) << c.name;
    }
    // Puts a log between the plug-in and the host's content services.
    ContentLog& LogContents() {
        host::HostServices services = host.runtime.Services();
        log = std::make_unique<ContentLog>(*services.contents);
        services.contents = log.get();
        locator.emplace(services);
        return *log;
    }
    int HeldPages() const { return static_cast<int>(host.runtime.Pages().AcquiredCount()); }

    test::PdfFixture pdf{0};
    test::TestHost host;
    host::DocId doc = host::kNoDocument;
    std::unique_ptr<ContentLog> log;
    std::optional<test::ScopedHost> locator;
};

TEST_F(PageContentTest, BlankPagesDrawNothingAndBlankScansAreImagesTinyNextToTheirData) {
    // Images store 30 bytes of their 10,000 unless a row says otherwise.
    const struct Case {
        const char* name;
        std::string content;
        bool blank, blankScan;
        std::size_t stored = 30;
        double threshold = kThreshold;
    } cases[] = {
        {"nothing, and annotations are not content", "", true, true},
        {"nested empty containers judge no image", "/A BMC /B << /C 1 >> BDC EMC EMC /D BMC EMC", true, false},
        {"a clip and an empty text object draw nothing", "q 0 0 100 100 re W n Q BT ET", true, true},
        {"a white rectangle is still drawn", "1 g 0 0 612 792 re f", false, false},
        {"text inside a container", "/Span BMC " + kText + " EMC", false, false},
        {"a shading", "/Sh sh", false, false},
        {"an image of ratio 0.003", "/Im Do", false, true},
        {"the same, a cleaner setting", "/Im Do", false, false, 30, 20 * 0.0001},
        {"a ratio equal to the threshold", "/Im Do", false, false, 40},
        {"the same, just over it", "/Im Do", false, true, 40, 41 * 0.0001},
        {"text after the image", "/Im Do " + kText, false, false},
        {"text before the image", kText + " /Im Do", false, false},
        {"text in a marked-content group", "/P <</MCID 0>> BDC " + kText + " EMC /Im Do", false, false},
        {"then an inline image", "/Im Do q 1 0 0 1 0 0 cm BI /W 100 /H 100 /CS /G /BPC 8 ID\nxxx\nEI Q", false, false},
        {"two blank images", "/Im Do /Im Do", false, true},
    };
    for (const Case& c : cases) Page(c.content, c.stored);
    pdf.AddAnnotation(0, "Link", "URI");
    pdf.Page(0).removeKey("/Contents");
    Open();
    for (int page = 0; const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Blank(page), c.blank);
        EXPECT_EQ(Blank(page++, c.threshold), c.blankScan);
    }
}

TEST_F(PageContentTest, ADamagedPageIsNeitherBlankNorDroppedAndIsReportedOncePerScan) {
    for (const char* content : {"", "/Im Do", "", kText.c_str(), "", "/Im Do", ""}) Page(content);
    for (int page : {2, 6})  // content streams claiming a filter their bytes do not satisfy
        pdf.Page(page)
            .getKey("/Contents")
            .replaceStreamData("garbage", QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
    pdf.Page(2).replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
    pdf.AddAnnotation(2, "Link", "URI");
    Open();
    ContentLog& contents = LogContents();
    EXPECT_FALSE(Blank(2));
    EXPECT_FALSE(Blank(2, kThreshold));
    PageNumbers separators;
    ASSERT_TRUE(BuildMatchingPageList(Document(), separators, SeparatorKind::BlankPage, kThreshold, {}));
    EXPECT_EQ(separators, (PageNumbers{0, 4})) << "the scan goes on past the damaged pages";
    EXPECT_EQ(host.viewer.alerts.size(), 1u) << "the user hears once per scan that pages could not be read";
    ExpectQueries({{"what can be read is answered", {Kind::Image}, {2, 6}},
                   {"page properties and annotations are still read", {Kind::Rotated, Kind::WebLink}, {3}},
                   {"content kinds stay unknown", {Kind::Rotated, Kind::Transparency}, {}}});
    EXPECT_EQ(host.viewer.alerts.size(), 4u);

    ASSERT_TRUE(BuildMatchingPageList(Document(), separators, SeparatorKind::BlankImagePage, kThreshold, {}));
    OutputList outputs(2, OutputDocument{{ContentQuery({Kind::Image}), ContentQuery({Kind::Image})}, ""});
    contents.acquired = 0;
    ASSERT_TRUE(ResolveQueryRanges(Document(), outputs, 0, -1));
    EXPECT_EQ(contents.acquired, 5) << "four content ranges, one look per readable page";
    EXPECT_EQ(outputs[1].Ranges.size(), 4u);
    EXPECT_EQ(contents.held, 0) << "scans leave nothing held";
    EXPECT_EQ(HeldPages(), 0);
}

TEST_F(PageContentTest, ContentIsTakenOnFirstLookAndEverythingIsGivenBackOnce) {
    for (const char* content : {"0 0 5 5 re f", ""}) Page(content);
    Open();
    ContentLog& contents = LogContents();
    {
        PageContentHolder holder;
        ASSERT_TRUE(holder.Acquire(doc, 0));
        EXPECT_EQ(contents.acquired, 0) << "content waits until something looks inside";
        holder.Content();
        holder.Content();
        EXPECT_EQ(contents.acquired, 1);
        EXPECT_EQ(HeldPages(), 1);
    }
    EXPECT_EQ(contents.held, 0);
    EXPECT_EQ(HeldPages(), 0);

    // A content the host will not take back ends no scan and keeps no page.
    contents.failRelease = true;
    {
        PageContentHolder holder;
        ASSERT_TRUE(holder.Acquire(doc, 0));
        {
            ContentUse use(holder);
            holder.Content();
        }
        EXPECT_EQ(contents.held, 0);
        holder.Content();
    }
    EXPECT_EQ(HeldPages(), 0);
}

TEST_F(PageContentTest, BlankSeparatorsBelongToNoOutputAndNoOutputIsEmpty) {
    for (const std::size_t stored : {3000, 3000, 30, 3000, 30, 30, 3000, 30}) Page("/Im Do", stored);
    Open();
    const auto spans = [&](SeparatorKind kind) {
        OutputList outputs;
        EXPECT_TRUE(SplitAtSeparators(Document(), outputs, kind, kThreshold, {}));
        std::string out;
        for (const OutputDocument& o : outputs)
            out += std::to_string(o.Ranges.at(0).StartPage + 1) + "+" + std::to_string(o.Ranges[0].NumPages) + " ";
        return out;
    };
    EXPECT_EQ(spans(SeparatorKind::BlankImagePage), "1+2 4+1 7+1 ")
        << "adjacent blanks cut once, a blank last page leaves no output";
    EXPECT_EQ(spans(SeparatorKind::BlankPage), "1+8 ") << "an image is never a blank page";
}

TEST_F(PageContentTest, ElementsCountInsideContainersAndQueriesWantEveryKindAskedFor) {
    Page("/Figure BMC /Inner BMC /Im Do EMC EMC /Sh sh 0 0 5 5 re S");
    Page("/Figure BMC /Im Do EMC");
    Page("/Fm Do BI /W 1 /H 1 /CS /G /BPC 8 ID\nx\nEI");
    Open();
    ExpectQueries({{"every kind asked for must be there", {Kind::Image, Kind::Shading, Kind::Path}, {1}},
                   {"an inline image is an image", {Kind::Image}, {1, 2, 3}},
                   {"containers are walked, not counted", {Kind::Container}, {}},
                   {"a form XObject without a field is a form element", {Kind::Form}, {3}},
                   {"a kind outside the table is absent", {Kind::Image, Kind{host::kPageElementKindCount}}, {}},
                   {"nor is a negative one", {Kind::Image, Kind{-1}}, {}}});
}

TEST_F(PageContentTest, ContentQueriesNeedNoWordFinder) {
    Page(kText);
    Page(kText);
    doc = host.runtime.Store().CreateEmpty();  // made in memory: no file a word finder could read
    for (int page : {0, 1}) host.runtime.Store().Get(doc).Qpdf().addPage(pdf.Page(page), false);
    EXPECT_NO_THROW(EXPECT_EQ(PagesWith({Kind::Text}), (PageNumbers{1, 2})));
}

TEST_F(PageContentTest, PagePropertiesTransparencyAndAnnotationsCountWhereThePageUsesThem) {
    for (int i = 0; i < 5; ++i) Page("/Half gs /Im Do 0 0 5 5 re f");
    pdf.Page(0).replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
    pdf.Page(1).replaceKey("/Rotate", QPDFObjectHandle::newInteger(-360));
    pdf.Page(2).replaceKey("/Trans", QPDFObjectHandle::parse("<< /S /Dissolve >>"));
    // Transparency reached only through what is drawn: a blend mode, an image with a soft mask.
    pdf.Page(3).replaceKey("/Resources", QPDFObjectHandle::parse("<< /ExtGState << /Half << /BM /Multiply >> >> >>"));
    for (int page : {0, 1, 2, 4}) pdf.Page(page).getKey("/Resources").getKey("/ExtGState").removeKey("/Half");
    pdf.Page(4)
        .getKey("/Resources")
        .getKey("/XObject")
        .getKey("/Im")
        .getDict()
        .replaceKey("/SMask", pdf.GrayImage(2, 2, "abcd"));
    // PageNumbers that share one resource dictionary: only what each page's content,
    // and the forms it draws, use counts.
    QPDFObjectHandle shared = pdf.Qpdf().makeIndirectObject(Resources());
    shared.getKey("/XObject")
        .getKey("/Fm")
        .replaceStreamData("/Half gs 0 0 1 1 re f", QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
    shared.getKey("/XObject").getKey("/Im").getDict().replaceKey("/SMask", pdf.GrayImage(2, 2, "abcd"));
    for (const char* content : {"/Opaque gs 0 0 5 5 re f", "/Half gs 0 0 5 5 re f", "/Fm Do", "/Im Do", ""})
        pdf.AddContentPage(content, shared);
    // PageNumbers 11 to 15 draw nothing and carry annotations.
    for (int i = 0; i < 5; ++i) Page("");
    pdf.AddAnnotation(10, "Link", "GoToR");
    pdf.AddAnnotation(11, "Link", "URI");
    pdf.AddAnnotation(12, "FreeText");
    pdf.AddAnnotation(12, "Widget", "SubmitForm");
    pdf.AddAnnotation(13, "Link")
        .replaceKey("/Dest", QPDFObjectHandle::newArray({pdf.Page(0), QPDFObjectHandle::newName("/Fit")}));
    pdf.AddAnnotation(14, "Popup");
    pdf.AddAnnotation(14, "Stamp", "JavaScript");
    pdf.Page(14).getKey("/Annots").appendItem(QPDFObjectHandle::newInteger(7));  // not an annotation at all
    Open();
    ExpectQueries({{"-360 is no rotation", {Kind::Rotated}, {1}},
                   {"transition", {Kind::Transition}, {3}},
                   {"transparency", {Kind::Transparency}, {4, 5, 7, 8, 9}},
                   {"GoToR", {Kind::ExternalLink}, {11}},
                   {"GoToR is not a link to a page; a /Dest is", {Kind::LinkToPage}, {14}},
                   {"URI", {Kind::WebLink}, {12}},
                   {"FreeText is a text comment", {Kind::TextComment}, {13}},
                   {"a widget is a form element", {Kind::Form, Kind::SubmitForm}, {13}},
                   {"subtypes and actions", {Kind::Popup, Kind::Stamp, Kind::JavaScript}, {15}}});
}

}  // namespace
}  // namespace tessera
