// The dry-run plan of the real program, checked against what qpdf reports.
#include <gtest/gtest.h>

#include <map>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

// The outline as qpdf sees it: (1-based page or 0 when it leads nowhere, level).
void CollectOutline(const nlohmann::json& items, int level, const std::map<std::string, int>& pageOf,
                    std::vector<std::pair<int, int>>& out) {
    for (const auto& item : items) {
        int page = item["destpageposfrom1"].is_number() ? item["destpageposfrom1"].get<int>() : 0;
        // qpdf leaves the page out for a named destination whose value is << /D [...] >>.
        const auto& dest = item["dest"];
        if (page == 0 && dest.is_object() && dest.contains("/D") && dest["/D"].is_array()) {
            const auto it = pageOf.find(dest["/D"][0].get<std::string>());
            if (it != pageOf.end()) page = it->second;
        }
        out.emplace_back(page, level);
        CollectOutline(item["kids"], level + 1, pageOf, out);
    }
}

// For an outline in page order: each item with a page runs to the next one.
std::vector<std::string> ExpectedSpans(const std::string& file, int low, int high, int pageCount) {
    const auto json = QpdfJson(file, "--json-key=outlines --json-key=pages");
    std::map<std::string, int> pageOf;
    for (std::size_t i = 0; i < json["pages"].size(); ++i) pageOf[json["pages"][i]["object"]] = static_cast<int>(i) + 1;
    std::vector<std::pair<int, int>> items;
    CollectOutline(json["outlines"], 1, pageOf, items);
    std::erase_if(items, [&](const auto& it) { return it.first == 0 || it.second > high; });
    std::vector<std::string> spans;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int next = i + 1 < items.size() ? items[i + 1].first : pageCount + 1;
        const int last = next == items[i].first ? next : next - 1;
        if (items[i].second < low) continue;
        spans.push_back(last == items[i].first ? std::to_string(last)
                                               : std::to_string(items[i].first) + "-" + std::to_string(last));
    }
    return spans;
}

std::vector<std::string> PlannedSpans(const std::string& output) {
    std::vector<std::string> spans;
    for (const auto& fields : PlanLines(output)) spans.push_back(fields.at(2));
    return spans;
}

TEST(DryRunTest, BookmarkPlanOfRealOutlinesMatchesQpdf) {
    TempFolder config;
    struct Case {
        const char* file;
        int pages, low, high;
    } cases[] = {{"hyperref-manual-outline-gotor-launch-named.pdf", 63, 1, 1},
                 {"hyperref-manual-outline-gotor-launch-named.pdf", 63, 1, 3},
                 {"hyperref-manual-outline-gotor-launch-named.pdf", 63, 2, 2},
                 {"mnras-guide-2col-rotated-page.pdf", 10, 1, 2}};
    for (const Case& c : cases) {
        const std::string levels = std::to_string(c.low) + "-" + std::to_string(c.high);
        const CommandResult r = Tessera(config, "split --dry-run --bookmarks " + levels + " " + Data(c.file));
        ASSERT_EQ(r.status, 0) << c.file;
        const auto expected = ExpectedSpans(std::string(TESSERA_TEST_DATA "/") + c.file, c.low, c.high, c.pages);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(PlannedSpans(r.output), expected) << c.file << " levels " << levels;
    }
}

TEST(DryRunTest, PlanLinesCarryNumberNameAndPages) {
    TempFolder config;
    CommandResult r = Tessera(config, "split --reset --dry-run --equal 4 " + Data("mnras-guide-2col-rotated-page.pdf"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "1\tmnras-guide-2col-rotated-pageDoc1.pdf\t1-4\n2\tmnras-guide-2col-rotated-pageDoc2.pdf\t5-8\n"
              "3\tmnras-guide-2col-rotated-pageDoc3.pdf\t9-10\n");

    r = Tessera(config, "split --reset --dry-run --prefix none --base '' --bookmarks 1 " +
                            Data("hyperref-manual-outline-gotor-launch-named.pdf"));
    const auto lines = PlanLines(r.output);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"1", "1 PREFACE.pdf", "4"}));
    EXPECT_EQ(lines[1][1], "2 INTRODUCTION.pdf");
}

TEST(DryRunTest, ExitStatusTellsScriptsWhatHappened) {
    TempFolder config;
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 2 " + Data("broken-header-only-unrecoverable.pdf") + " 2>/dev/null").status, 1);
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 0 " + Data("multicolumn-latex-2col.pdf") + " 2>/dev/null").status, 2);
    EXPECT_EQ(Tessera(config, "split --dry-run --bookmarks 0-2 " + Data("multicolumn-latex-2col.pdf") + " 2>/dev/null").status, 2);
    EXPECT_EQ(Tessera(config, "split --dry-run " + Data("no-such-file.pdf") + " 2>/dev/null").status, 2);
    EXPECT_EQ(Tessera(config, "frobnicate 2>/dev/null").status, 2);
    EXPECT_EQ(Tessera(config, "split --help").status, 0);
    // The dialog keeps OK disabled for a bookmark split of a document without bookmarks.
    const CommandResult noBookmarks =
        Tessera(config, "split --dry-run --bookmarks 1 " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(noBookmarks.status, 2);
    EXPECT_NE(noBookmarks.output.find("no bookmarks"), std::string::npos) << noBookmarks.output;
    const std::string restricted = Data("encrypted-rc4-128-restricted-user-view-owner-master.pdf");
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 1 --password view " + restricted + " 2>/dev/null").status, 1)
        << "the user may not extract its pages";
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 1 --password master " + restricted).status, 0)
        << "the owner may";
}

}  // namespace
}  // namespace tessera::test
