#include "engine/HtmlIndex.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(HtmlIndexTest, ListsOutputsIndentedByLevelWithoutEscaping) {
    const std::vector<IndexEntry> entries = {{"CHAPTER 1.pdf", "Chapter 1", 0},
                                             {"CHAPTER 1\\INTRO.pdf", "Intro <&>", 1}};
    EXPECT_EQ(HtmlIndexText("/in/Report.pdf", entries),
              "<HTML>\n<HEAD>\n<TITLE>Report.pdf</TITLE>\n<BODY>\n<H2>Input document: /in/Report.pdf</H2>\n"
              "<H2>Output documents:</H2>\n<A href=\"CHAPTER 1.pdf\">Chapter 1</A><BR>\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"CHAPTER 1/INTRO.pdf\">Intro <&></A><BR>\n"
              "</BODY>\n</HTML>\n");
    EXPECT_EQ(HtmlIndexPath("/out/", "/in/Report.v2.pdf"), "/out/Report.v2_index.htm");
    EXPECT_EQ(HtmlIndexPath("", "Report.pdf"), "Report_index.htm");
}

}  // namespace
}  // namespace tessera
