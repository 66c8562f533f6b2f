// Pages and their contents are acquired once and released however a scan ends.
#include <gtest/gtest.h>

#include <optional>

#include "access/Host.h"
#include "access/OwnedId.h"
#include "analysis/PageContentHolder.h"
#include "analysis/QueryResolution.h"
#include "analysis/SeparatorPages.h"
#include "host/HostError.h"
#include "support/PdfFixture.h"
#include "support/ScopedHost.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

// The host's content services, with a log of what is acquired and released.
class ContentLog : public host::PageContentServices {
public:
    explicit ContentLog(host::PageContentServices& contents) : contents_(contents) {}
    host::ContentId AcquireContent(host::PageId page, std::uint32_t client) override {
        const host::ContentId content = contents_.AcquireContent(page, client);
        ++acquired;
        ++held;
        return content;
    }
    void ReleaseContent(host::ContentId content) override {
        --held;
        contents_.ReleaseContent(content);
        if (failRelease) throw host::HostError(host::kErrorGeneral, "the host would not let go");
    }
    int acquired = 0, held = 0;
    bool failRelease = false;

private:
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
        logged = std::make_unique<ContentLog>(*services.contents);
        services.contents = logged.get();
        locator.emplace(services);
    }
    test::PdfFixture pdf{0};
    test::TestHost host;
    host::DocId doc = host::kNoDocument;
    std::unique_ptr<ContentLog> logged;
    std::optional<test::ScopedHost> locator;
    int HeldPages() const { return static_cast<int>(host.runtime.Pages().AcquiredCount()); }
};

TEST_F(PageContentHolderTest, ContentIsAcquiredOnFirstUseAndReleasedWithThePage) {
    {
        PageContentHolder holder;
        ASSERT_TRUE(holder.Acquire(doc, 1));
        EXPECT_EQ(logged->acquired, 0) << "content waits until something looks inside";
        holder.Content();
        holder.Content();
        EXPECT_EQ(logged->acquired, 1);
        EXPECT_EQ(HeldPages(), 1);
    }
    EXPECT_EQ(logged->held, 0);
    EXPECT_EQ(HeldPages(), 0);
}

TEST_F(PageContentHolderTest, AReleaseTheHostFailsEndsNoTest) {
    logged->failRelease = true;
    PageContentHolder holder;
    ASSERT_TRUE(holder.Acquire(doc, 1));
    {
        ContentUse use(holder);
        holder.Content();
    }
    EXPECT_EQ(logged->held, 0);
    holder.Content();
}

TEST_F(PageContentHolderTest, AContentTheHostWillNotTakeBackStillLetsThePageGo) {
    logged->failRelease = true;
    {
        PageContentHolder holder;
        ASSERT_TRUE(holder.Acquire(doc, 1));
        holder.Content();
    }
    EXPECT_EQ(HeldPages(), 0);
}

TEST_F(PageContentHolderTest, AnOwnedIdIsGivenBackOnceByWhoeverHoldsItLast) {
    OwnedPage first(host.runtime.Services().pages->AcquirePage(doc, 0));
    {
        OwnedPage second(std::move(first));
        EXPECT_FALSE(first);
        OwnedPage third(host.runtime.Services().pages->AcquirePage(doc, 2));
        EXPECT_EQ(HeldPages(), 2);
        third = std::move(second);  // the page third held goes now
        EXPECT_EQ(HeldPages(), 1);
    }
    EXPECT_EQ(HeldPages(), 0);
}

TEST_F(PageContentHolderTest, ScansLeaveNothingHeldAndLookInsideEachPageOnce) {
    DocumentHandle document(doc, DocumentHandle::Ownership::Borrowed);
    std::vector<int> pages;
    ASSERT_TRUE(BuildMatchingPageList(document, pages, SeparatorKind::BlankPage, 0.004, {}));
    EXPECT_EQ(pages, (std::vector<int>{0, 2}));
    ASSERT_TRUE(BuildMatchingPageList(document, pages, SeparatorKind::BlankImagePage, 0.004, {}));
    EXPECT_EQ(HeldPages(), 0);
    EXPECT_EQ(logged->held, 0);

    OutputList outputs(2);
    for (OutputDocument& output : outputs) {
        PageRange range;
        range.Query.Enable = true;
        range.Query.Target = QueryTarget::QueryPageContent;
        range.Query.PageContentQuery = {host::PageElementKind::Path};
        output.Ranges = {range, range};
    }
    logged->acquired = 0;
    ASSERT_TRUE(ResolveQueryRanges(document, outputs, 0, -1));
    EXPECT_EQ(logged->acquired, 3) << "four content ranges, one look per readable page";
    EXPECT_EQ(HeldPages(), 0);
    EXPECT_EQ(logged->held, 0);
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].Ranges.size(), 2u);
}

}  // namespace
}  // namespace tessera
