#include "engine/BookmarkTarget.h"

#include <gtest/gtest.h>

#include "access/Host.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

struct ScriptCase {
    const char* script;
    std::optional<int> page;
};

class ParseScriptPageNumberTest : public testing::TestWithParam<ScriptCase> {};

TEST_P(ParseScriptPageNumberTest, ReadsTheAssignedNumber) {
    EXPECT_EQ(ParseScriptPageNumber(GetParam().script), GetParam().page) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseScriptPageNumberTest,
                         testing::Values(ScriptCase{"this.pageNum = 12;", 12}, ScriptCase{"this.pageNum=3", 3},
                                         ScriptCase{"app.beep(); this.pageNum =\t -2 ;", -2},
                                         ScriptCase{"this.pageNum = +7", 7},
                                         ScriptCase{"this.pageNum = next;", std::nullopt},
                                         ScriptCase{"this.pageNum", std::nullopt},
                                         ScriptCase{"this.pageNum =", std::nullopt},
                                         ScriptCase{"this.pagenum = 4", std::nullopt},
                                         ScriptCase{"this.pageNum = 99999999999999", std::nullopt},
                                         ScriptCase{"x = 1; this.pageNum++", std::nullopt}));

// Bookmarks of every action kind in one fixture, read through the real host.
TEST(GetBookmarkTargetPageTest, ActionsLeadToPagesOrNowhere) {
    test::TestHost host;
    test::PdfFixture pdf(6);
    QPDF& q = pdf.Qpdf();
    auto withAction = [&](const std::string& title, const std::string& action) {
        QPDFObjectHandle item = pdf.Item(title);
        item.replaceKey("/A", QPDFObjectHandle::parse(action));
        return item;
    };
    QPDFObjectHandle goTo = pdf.Item("goto");
    goTo.replaceKey("/A", QPDFObjectHandle::newDictionary(
                              {{"/S", QPDFObjectHandle::newName("/GoTo")},
                               {"/D", QPDFObjectHandle::newArray({pdf.Page(3), QPDFObjectHandle::newName("/Fit")})}}));
    QPDFObjectHandle named = pdf.Item("named");
    named.replaceKey("/Dest", QPDFObjectHandle::newName("/chap"));
    q.getRoot().replaceKey("/Dests", QPDFObjectHandle::newDictionary(
                                         {{"/chap", QPDFObjectHandle::newDictionary(
                                                        {{"/D", QPDFObjectHandle::newArray({pdf.Page(5)})}})}}));
    QPDFObjectHandle jsStream = pdf.Item("js stream");
    jsStream.replaceKey("/A", QPDFObjectHandle::newDictionary(
                                  {{"/S", QPDFObjectHandle::newName("/JavaScript")},
                                   {"/JS", QPDFObjectHandle::newStream(&q, "this.pageNum = 1;")}}));
    pdf.SetChildren({}, {goTo, named, withAction("js", "<< /S /JavaScript /JS (this.pageNum = 2;) >>"), jsStream,
                         withAction("uri", "<< /S /URI /URI (https://example.org) >>"),
                         withAction("gotor", "<< /S /GoToR /F (other.pdf) /D [0 /Fit] >>"),
                         pdf.ItemToPage("plain", 4), pdf.Item("none"),
                         withAction("missing", "<< /S /GoTo /D (no-such-name) >>")});
    pdf.Write(host.folder / "actions.pdf");

    const DocumentHandle doc(host.OpenActive(host.folder / "actions.pdf"), DocumentHandle::Ownership::Borrowed);
    std::vector<std::optional<int>> pages;
    for (host::BookmarkRef b = Host().bookmarks->FirstChild(Host().bookmarks->Root(doc.Doc())); !b.IsNull();
         b = Host().bookmarks->NextSibling(b))
        pages.push_back(GetBookmarkTargetPage(doc, b));
    const std::vector<std::optional<int>> expected = {3, 5, 2, std::nullopt, std::nullopt, std::nullopt,
                                                      4, std::nullopt, std::nullopt};
    EXPECT_EQ(pages, expected);
    EXPECT_FALSE(GetBookmarkTargetPage(DocumentHandle(), Host().bookmarks->Root(doc.Doc())));

    // Walking again hands out the same references, for direct actions and for
    // the GoTo standing for a /Dest alike: a long session does not pile them up.
    for (host::BookmarkRef b = Host().bookmarks->FirstChild(Host().bookmarks->Root(doc.Doc())); !b.IsNull();
         b = Host().bookmarks->NextSibling(b))
        EXPECT_EQ(Host().bookmarks->Action(b), Host().bookmarks->Action(b)) << Host().bookmarks->Title(b);
    const host::DocId bare = host.OpenActive("multicolumn-latex-2col.pdf");
    EXPECT_EQ(Host().bookmarks->Root(bare), Host().bookmarks->Root(bare)) << "a document without an outline";
}

}  // namespace
}  // namespace tessera
