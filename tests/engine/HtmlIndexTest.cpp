#include "engine/HtmlIndex.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(HtmlIndexTest, ListsOutputsIndentedByLevelAsEscapedTextAndEncodedLinks) {
    const std::vector<IndexEntry> entries = {{"C# & F#.pdf", "C# & F#", 0},
                                             {"CHAPTER 1\\<B>X%.pdf", "<b>x é", 1}};
    EXPECT_EQ(HtmlIndexText("/in/<img src=x onerror=alert(1)>.pdf", entries),
              "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
              "<TITLE>&lt;img src=x onerror=alert(1)&gt;.pdf</TITLE>\n</HEAD>\n<BODY>\n"
              "<H2>Input document: /in/&lt;img src=x onerror=alert(1)&gt;.pdf</H2>\n"
              "<H2>Output documents:</H2>\n<A href=\"C%23%20%26%20F%23.pdf\">C# &amp; F#</A><BR>\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"CHAPTER%201/%3CB%3EX%25.pdf\">&lt;b&gt;x é</A><BR>\n"
              "</BODY>\n</HTML>\n");
    EXPECT_EQ(HtmlIndexPath("/out/", "/in/Report.v2.pdf"), "/out/Report.v2_index.htm");
    EXPECT_EQ(HtmlIndexPath("", "Report.pdf"), "Report_index.htm");
    EXPECT_EQ(HtmlIndexPath("/out/", "/in/" + std::string(251, 'r') + ".pdf"),
              "/out/" + std::string(245, 'r') + "_index.htm") << "a file name fits in 255 bytes";
}

}  // namespace
}  // namespace tessera
