// Pages and their contents are acquired once and released, content first,
// however a scan ends.
#include <gtest/gtest.h>

#include "analysis/BlankPage.h"
#include "analysis/QueryResolution.h"
#include "analysis/SeparatorPages.h"
#include "shell/Host.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

// The host's page and content services, with a log of what is held.
class HoldingLog : public host::PageServices, public host::PageContentServices {
public:
    HoldingLog(host::PageServices& pages, host::PageContentServices& contents) : pages_(pages), contents_(contents) {}

    host::PageId AcquirePage(host::DocId doc, int page) override {
        log.push_back("page+");
        ++heldPages;
        return pages_.AcquirePage(doc, page);
    }
    void ReleasePage(host::PageId page) override {
        log.push_back("page-");
        --heldPages;
        pages_.ReleasePage(page);
    }
    int Rotation(host::PageId page) override { return pages_.Rotation(page); }
    int AnnotationCount(host::PageId page) override { return pages_.AnnotationCount(page); }
    host::AnnotationInfo Annotation(host::PageId page, int index) override { return pages_.Annotation(page, index); }
    bool HasTransition(host::PageId page) override { return pages_.HasTransition(page); }
    bool HasTransparency(host::PageId page, bool annotations) override {
        return pages_.HasTransparency(page, annotations);
    }
    host::ContentId AcquireContent(host::PageId page, std::uint32_t client) override {
        log.push_back("content+");
        const host::ContentId content = contents_.AcquireContent(page, client);
        ++heldContents;
        ++contentsAcquired;
        return content;
    }
    void ReleaseContent(host::ContentId content) override {
        log.push_back("content-");
        --heldContents;
        contents_.ReleaseContent(content);
    }

    std::vector<std::string> log;
    int heldPages = 0, heldContents = 0, contentsAcquired = 0;

private:
    host::PageServices& pages_;
    host::PageContentServices& contents_;
};

class PageContentHolderTest : public testing::Test {
protected:
    PageContentHolderTest() {
        pdf.AddContentPage("");
        pdf.AddContentPage("0 0 5 5 re f");
        pdf.AddContentPage("");
        pdf.AddContentPage("");
        pdf.Page(3).getKey("/Contents").replaceStreamData("garbage", QPDFObjectHandle::newName("/FlateDecode"),
                                                          QPDFObjectHandle::newNull());
        const std::string path = host.folder / "fixture.pdf";
        pdf.Write(path);
        doc = host.OpenActive(path);
        host::HostServices services = host.runtime.Services();
        logged = std::make_unique<HoldingLog>(*services.pages, *services.contents);
        services.pages = logged.get();
        services.contents = logged.get();
        SetHost(services);
    }
    test::PdfFixture pdf{0};
    test::TestHost host;
    host::DocId doc = host::kNoDocument;
    std::unique_ptr<HoldingLog> logged;
};

TEST_F(PageContentHolderTest, ContentIsAcquiredOnFirstUseAndReleasedBeforeThePage) {
    {
        PageContentHolder holder;
        ASSERT_TRUE(holder.Acquire(doc, 1));
        EXPECT_EQ(logged->log, (std::vector<std::string>{"page+"})) << "content waits until something looks inside";
        holder.Content();
        holder.Content();
    }
    EXPECT_EQ(logged->log, (std::vector<std::string>{"page+", "content+", "content-", "page-"}));
}

TEST_F(PageContentHolderTest, ScansLeaveNothingHeldAndLookInsideEachPageOnce) {
    DocumentHandle document(doc, DocumentHandle::Ownership::Borrowed);
    std::vector<int> pages;
    ASSERT_TRUE(BuildMatchingPageList(document, pages, BlankPage, 0.004, {}));
    EXPECT_EQ(pages, (std::vector<int>{0, 2}));
    ASSERT_TRUE(BuildMatchingPageList(document, pages, BlankImagePage, 0.004, {}));
    EXPECT_EQ(logged->heldPages, 0);
    EXPECT_EQ(logged->heldContents, 0);

    OutputList outputs(2);
    for (OutputDocument& output : outputs) {
        PageRange range;
        range.Query.Enable = true;
        range.Query.Target = QueryPageContent;
        range.Query.PageContentQuery = {host::kElementPath};
        output.Ranges = {range, range};
    }
    logged->contentsAcquired = 0;
    ASSERT_TRUE(ResolveQueryRanges(document, outputs, 0, -1));
    EXPECT_EQ(logged->contentsAcquired, 3) << "four content ranges, one look per readable page";
    EXPECT_EQ(logged->heldPages, 0);
    EXPECT_EQ(logged->heldContents, 0);
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].Ranges.size(), 2u);
}

}  // namespace
}  // namespace tessera
