// Links of written outputs, followed with MuPDF as a viewer follows them: a
// link must reach a page whose text is that of the page it reached in the source.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

// Every link MuPDF sees: page, rectangle, URI, and for a link inside the file
// the page and view it resolves to. With a second argument, only that URI
// resolved in the file.
constexpr const char* kLinkLister = R"(
var doc = new PDFDocument(scriptArgs[0]);
if (scriptArgs.length > 1) { print(doc.resolveLink(scriptArgs[1]).page); quit(); }
for (var p = 0; p < doc.countPages(); ++p) {
  var links = doc.loadPage(p).getLinks();
  for (var i = 0; i < links.length; ++i) {
    var b = links[i].bounds.map(function (v) { return Math.round(v); }).join(",");
    var at = links[i].uri.charAt(0) == "#" ? doc.resolveLink(links[i].uri) : null;
    print(p + "\t" + b + "\t" + links[i].uri + "\t" + (at ? at.page + "\t" + at.type + " " + at.x + " " + at.y : "-\t"));
  }
}
)";

// Titles, open states and nesting of a file's outline as qpdf reads them.
nlohmann::json Outline(const std::string& file) {
    const std::function<nlohmann::json(const nlohmann::json&)> tree = [&tree](const nlohmann::json& items) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& item : items) out.push_back({item["title"], item["open"], tree(item["kids"])});
        return out;
    };
    return tree(QpdfJson(ShellQuote(file), "--json-key=outlines")["outlines"]);
}

struct Link {
    int page;
    std::string rect, uri;
    int target;  // -1 for a link out of the file
    std::string view;
};

class LinkRewritingTest : public testing::Test {
protected:
    void SetUp() override {
        std::ofstream(script.Path() + "/links.js") << kLinkLister;
    }

    std::vector<Link> Links(const std::string& file) {
        std::vector<Link> links;
        std::istringstream in(Mutool(ShellQuote(file)));
        for (std::string line; std::getline(in, line);) {
            const auto f = PlanLines(line).at(0);
            links.push_back({std::stoi(f.at(0)), f.at(1), f.at(2), f.at(3) == "-" ? -1 : std::stoi(f.at(3)), f.at(4)});
        }
        return links;
    }

    int Resolve(const std::string& file, const std::string& uri) {
        return std::stoi(Mutool(ShellQuote(file) + " " + ShellQuote(uri)));
    }

    std::string Mutool(const std::string& arguments) {
        return RunCommand("mutool run " + ShellQuote(script.Path() + "/links.js") + " " + arguments + " 2>/dev/null")
            .output;
    }

    // The text of the page a link of `file` leads to, opening the file a
    // remote link names as a viewer would: relative to file's folder.
    std::string TargetText(const std::string& file, const Link& link) {
        if (link.target >= 0) return Texts(file).at(static_cast<std::size_t>(link.target));
        const std::size_t hash = link.uri.find('#');
        if (link.uri.rfind("file://", 0) != 0 || hash == std::string::npos) return "(not a page link: " + link.uri + ")";
        const fs::path named = link.uri.substr(7, hash - 7);
        const std::string target = named.is_absolute() ? named.string() : (fs::path(file).parent_path() / named).string();
        if (!fs::exists(target)) return "(no file " + target + ")";
        const std::string fragment = link.uri.substr(hash);
        const int page = fragment.rfind("#page=", 0) == 0 ? std::stoi(fragment.substr(6)) - 1 : Resolve(target, fragment);
        return Texts(target).at(static_cast<std::size_t>(page));
    }

    std::size_t FollowEveryLink(const std::string& source, const std::string& options);

    const std::vector<std::string>& Texts(const std::string& file) {
        auto it = texts_.find(file);
        if (it == texts_.end()) it = texts_.emplace(file, PageTexts(file)).first;
        return it->second;
    }

    TempFolder config, script;
    std::map<std::string, std::vector<std::string>> texts_;
};

// Splits source with options and follows every link of every output; the
// number of distinct source page links that reached an output.
std::size_t LinkRewritingTest::FollowEveryLink(const std::string& source, const std::string& options) {
    const TempFolder out;
    const CommandResult run = Tessera(config, "split --reset --quiet --yes --update-links " + options + " -o " +
                                                  ShellQuote(out.Path()) + " " + ShellQuote(source));
    EXPECT_EQ(run.status, 0) << run.output;
    // Where each source link went, by the text of its page and its rectangle.
    std::map<std::pair<std::string, std::string>, Link> before;
    for (const Link& link : Links(source))
        before[{Texts(source).at(static_cast<std::size_t>(link.page)), link.rect}] = link;
    std::set<std::pair<std::string, std::string>> followed;
    std::set<std::string> outputPages;
    int remote = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out.Path())) {
        if (!entry.is_regular_file()) continue;
        const std::string file = entry.path().string();
        outputPages.insert(Texts(file).begin(), Texts(file).end());
        if (options.find("--transfer-bookmarks") != std::string::npos) {
            EXPECT_EQ(Outline(file), Outline(source)) << file;
        }
        for (const Link& link : Links(file)) {
            const auto was = before.find({Texts(file).at(static_cast<std::size_t>(link.page)), link.rect});
            if (was == before.end()) {
                ADD_FAILURE() << file << " has a link the source did not have at " << link.rect;
                continue;
            }
            if (was->second.target < 0) {
                EXPECT_EQ(link.uri, was->second.uri) << file;
                continue;
            }
            EXPECT_EQ(TargetText(file, link), Texts(source).at(static_cast<std::size_t>(was->second.target)))
                << file << " page " << link.page + 1 << " link " << link.rect << " " << link.uri;
            if (link.target >= 0) {
                EXPECT_EQ(link.view, was->second.view) << file << " " << link.rect;
            }
            followed.insert(was->first);
            remote += link.target < 0;
        }
        // No link lost its action on the way.
        for (const auto& [id, object] : QpdfJson(ShellQuote(file), "--json-key=qpdf")["qpdf"][1].items()) {
            const auto& value = object.value("value", nlohmann::json());
            if (value.is_object() && value.value("/Subtype", "") == "/Link") {
                EXPECT_TRUE(value.contains("/A") || value.contains("/Dest")) << file << " " << id;
            }
        }
    }
    // Every page link on a page that went into an output was followed.
    std::size_t expected = 0;
    for (const auto& [key, link] : before) expected += link.target >= 0 && outputPages.count(key.first);
    EXPECT_EQ(followed.size(), expected) << options;
    EXPECT_GT(remote, 10) << options;
    return expected;
}

TEST_F(LinkRewritingTest, EveryLinkOfEveryOutputLeadsToTheSamePageAsInTheSource) {
    const std::string source = std::string(TESSERA_TEST_DATA) + "/hyperref-manual-outline-gotor-launch-named.pdf";
    // Subfolders, blanks and a non-ASCII letter in the names the links hold.
    EXPECT_GT(FollowEveryLink(source, "--bookmarks 1-2 --folders --base 'Réf ' --transfer-bookmarks"), 10u);
    // Every page in some output, the contents' hundred links among them.
    EXPECT_GT(FollowEveryLink(source, "--equal 7"), 100u);
}

}  // namespace
}  // namespace tessera::test
