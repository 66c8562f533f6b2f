// What the real program writes, read back with qpdf, poppler and MuPDF: the
// planned pages in valid files, the same bytes from worker processes as from
// a run in order, links that lead where they led, security, metadata and marks.
#include <fstream>

using namespace tessera::test;

namespace {

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

// Titles, open states and nesting of an outline as qpdf reads it.
nlohmann::json Outline(const nlohmann::json& items) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& item : items) out.push_back({item["title"], item["open"], Outline(item["kids"])});
    return out;
}

struct Link {
    int page;
    std::string rect, uri;
    int target;  // -1 for a link out of the file
    std::string view;
};

// Reads written files as a viewer does, keeping each file's page texts.
class Reader {
public:
    Reader() { std::ofstream(script / "links.js") << kLinkLister; }

    const std::vector<std::string>& Texts(const std::string& file) {
        auto it = texts_.find(file);
        if (it == texts_.end()) it = texts_.emplace(file, PageTexts(file)).first;
        return it->second;
    }

    // Each output of a split planned by `arguments` holds its planned pages
    // (by their text, in order) and passes qpdf's check.
    void ExpectWrittenAsPlanned(const TempFolder& config, const std::string& arguments, const std::string& source,
                                const std::string& folder, bool byText) {
        const auto plan = PlanLines(
            Tessera(config, "split --reset --prefix none --dry-run -o " + ShellQuote(folder) + " " + arguments).output);
        std::size_t written = 0;
        for (const std::string& name : FilesBelow(folder)) written += name.ends_with(".pdf");
        EXPECT_EQ(plan.size(), written);
        for (const auto& line : plan) {
            const std::string file = folder + "/" + line.at(1);
            EXPECT_TRUE(QpdfCheckPasses(file)) << file;
            if (!byText) continue;
            std::vector<std::string> expected;
            for (int page : RunPages(line.at(2))) expected.push_back(Texts(source).at(page - 1));
            EXPECT_EQ(Texts(file), expected) << file;
        }
    }

    std::size_t FollowEveryLink(const std::string& source, const std::string& folder, bool outlines, int remotes);

private:
    std::vector<Link> Links(const std::string& file) {
        std::vector<Link> links;
        for (const auto& f : PlanLines(Mutool(ShellQuote(file))))
            links.push_back({std::stoi(f.at(0)), f.at(1), f.at(2), f.at(3) == "-" ? -1 : std::stoi(f.at(3)), f.at(4)});
        return links;
    }

    std::string Mutool(const std::string& arguments) {
        return RunCommand("mutool run " + ShellQuote(script / "links.js") + " " + arguments + " 2>/dev/null").output;
    }

    // The text of the page a link of `file` leads to, opening the file a
    // remote link names as a viewer would: relative to file's folder.
    std::string TargetText(const std::string& file, const Link& link) {
        if (link.target >= 0) return Texts(file).at(static_cast<std::size_t>(link.target));
        const std::size_t hash = link.uri.find('#');
        if (link.uri.rfind("file://", 0) != 0 || hash == std::string::npos)
            return "(not a page link: " + link.uri + ")";
        const fs::path named = link.uri.substr(7, hash - 7);
        const std::string target =
            named.is_absolute() ? named.string() : (fs::path(file).parent_path() / named).string();
        if (!fs::exists(target)) return "(no file " + target + ")";
        const int page = std::stoi(Mutool(ShellQuote(target) + " " + ShellQuote(link.uri.substr(hash))));
        return Texts(target).at(static_cast<std::size_t>(page));
    }

    TempFolder script;
    std::map<std::string, std::vector<std::string>> texts_;
};

// Follows every link of every output in folder, split from source: each must
// reach a page whose text is that of the page it reached in the source, at
// least `remotes` of them in another file. The number of source page links
// that reached an output.
std::size_t Reader::FollowEveryLink(const std::string& source, const std::string& folder, bool outlines, int remotes) {
    // Where each source link went, by the text of its page and its rectangle.
    std::map<std::pair<std::string, std::string>, Link> before;
    for (const Link& link : Links(source))
        before[{Texts(source).at(static_cast<std::size_t>(link.page)), link.rect}] = link;
    const auto outline = [](const std::string& file) {
        return Outline(QpdfJson(ShellQuote(file), "--json-key=outlines")["outlines"]);
    };
    const nlohmann::json sourceOutline = outline(source);
    std::set<std::pair<std::string, std::string>> followed;
    std::set<std::string> outputPages;
    int remote = 0;
    for (const std::string& name : FilesBelow(folder)) {
        if (!name.ends_with(".pdf")) continue;
        const std::string file = folder + "/" + name;
        outputPages.insert(Texts(file).begin(), Texts(file).end());
        if (outlines) {
            EXPECT_EQ(outline(file), sourceOutline) << file;
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
    }
    // Every page link on a page that went into an output was followed: none lost its action.
    std::size_t expected = 0;
    for (const auto& [key, link] : before) expected += link.target >= 0 && outputPages.count(key.first);
    EXPECT_EQ(followed.size(), expected) << folder;
    EXPECT_GE(remote, remotes) << folder;
    return expected;
}

// The file in qpdf's QDF form: content streams unpacked as they were written,
// each after a "%% Contents for page N" line.
std::string Qdf(const std::string& file) {
    return RunCommand("qpdf --qdf --object-streams=disable --normalize-content=n " + ShellQuote(file) + " -").output;
}

// The content streams of page n that show the hex text, by their place on the page (1-based), as "1 3".
std::string StreamsShowing(const std::string& qdf, int page, const std::string& hex) {
    const std::string mark = "%% Contents for page " + std::to_string(page) + "\n";
    std::string places;
    int place = 0;
    for (std::size_t at = qdf.find(mark); at != std::string::npos; at = qdf.find(mark, at + 1)) {
        ++place;
        if (qdf.substr(at, qdf.find("endstream", at) - at).find("<" + hex + "> Tj") != std::string::npos)
            places += (places.empty() ? "" : " ") + std::to_string(place);
    }
    return places;
}

}  // namespace

// The hyperref manual split at its bookmarks into 85 outputs in folders, links
// rewritten and the outline carried over: the largest run of these tests,
// written once by workers and once in order. Its checks share this one test,
// as ctest runs each test in a process of its own.
TEST(ComparedRunsTest, ABookmarkSplitWithRewrittenLinksIsWrittenAlikeByWorkersAndEveryLinkLeadsToItsPage) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    const std::string source = DataFile("hyperref-manual-outline-gotor-launch-named.pdf");
    // Subfolders, blanks and a non-ASCII letter in the names the links hold.
    const std::string arguments =
        "--yes --bookmarks 1-2 --folders --base 'Réf ' --update-links --transfer-bookmarks "
        "--html-index " +
        ShellQuote(source);
    TempFolder config;
    JobsRun one, two;
    SplitWithJobs(two, config, arguments, 2);
    SplitWithJobs(one, config, arguments, 1);
    // The title pages before the first bookmark are in no output, and said.
    ASSERT_EQ(two.result.status, 3) << two.result.output;
    ExpectSameRuns(one, two);
    Reader reader;
    reader.ExpectWrittenAsPlanned(config, arguments, source, two.out.Path(), true);
    EXPECT_GT(reader.FollowEveryLink(source, two.out.Path(), true, 10), 10u);
    // Every page in some output, the contents' hundred links among them.
    TempFolder equal;
    ASSERT_EQ(Split(config, equal.Path(), "--equal 7 --update-links " + ShellQuote(source)).status, 0);
    EXPECT_GT(reader.FollowEveryLink(source, equal.Path(), false, 10), 100u);
}

TEST(ComparedRunsTest, WorkersWriteWhatARunInOrderWritesForEverySplitMethod) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    const struct {
        const char* name;
        const char* options;
        const char* file;
        bool byText;  // a watermark adds to the pages' text
    } rows[] = {
        {"equal parts, watermark, names from an area",
         "--equal 4 --watermark Draft --suffix text --name-area 0,0,600,80", "mnras-guide-2col-rotated-page.pdf",
         false},
        {"blank separators", "--separator blank", "abntex2-thesis-blank-versos-outline-depth6.pdf", true},
        {"text separators", "--separator text=CHAPTER", "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf", true},
        {"pages where a value changes, named from it",
         "--separator 'change=regex:CHAPTER ([0-9]+)' --name 'Ch{1}/{n:0}'",
         "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf", true},
        {"hand-made outputs", "--doc Front=1-3 --doc Back=z-4 --doc Odd=1-z:odd",
         "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf", true},
        {"outline of a repaired file", "--bookmarks 1-4", "damaged-xref-outlines-labels-recoverable.pdf", true},
        {"form fields", "--equal 1", "acroform-fields-two-pages-mixed-annots.pdf", true},
    };
    TempFolder config;
    Reader reader;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string arguments = row.options + (" " + Data(row.file));
        JobsRun one, two;
        SplitWithJobs(one, config, arguments, 1);
        SplitWithJobs(two, config, arguments, 2);
        ASSERT_EQ(one.result.status, std::string(row.file).find("damaged") == std::string::npos ? 0 : 3)
            << one.result.output;
        ExpectSameRuns(one, two);
        reader.ExpectWrittenAsPlanned(config, arguments, DataFile(row.file), one.out.Path(), row.byText);
    }
}

TEST(WrittenOutputTest, PasswordsAndPermissionsAreThoseAsked) {
    const struct {
        const char* name;
        const char* options;
        const char* password;                                    // that opens the outputs
        std::vector<std::pair<const char*, const char*>> shows;  // given this password, qpdf shows that
    } rows[] = {
        {"none", "", "", {{"", "File is not encrypted"}}},
        {"permissions alone",
         "--permissions-password owner --deny print,copy",
         "",
         {{"", "R = 6"},
          {"", "extract for any purpose: not allowed"},
          {"", "print high resolution: not allowed"},
          {"", "modify annotations: allowed"},
          {"owner", "Supplied password is owner password"}}},
        // An empty owner password would let the user password lift the restrictions.
        {"both",
         "--open-password user --deny edit",
         "user",
         {{"user", "Supplied password is user password"},
          {"user", "modify other: not allowed"},
          {"", "Incorrect password supplied"}}},
    };
    TempFolder config;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder out;
        const std::string options = "--equal 3 " + std::string(row.options) + " ";
        ASSERT_EQ(Split(config, out.Path(), options + Data("multicolumn-latex-2col.pdf")).status, 0);
        const std::string file = out / "Doc1.pdf";
        EXPECT_EQ(QpdfCheckPasses(file), !*row.password) << "opens without a password";
        EXPECT_TRUE(QpdfCheckPasses(file, row.password));
        for (const auto& [password, says] : row.shows) {
            const std::string shown = RunCommand("qpdf --show-encryption --password=" + ShellQuote(password) + " " +
                                                 ShellQuote(file) + " 2>&1")
                                          .output;
            EXPECT_NE(shown.find(says), std::string::npos) << shown;
        }
    }
}

TEST(WrittenOutputTest, OutputsKeepLinksLabelsFieldsAndVersionAreLinearizedWhenAskedAndNoLargerThanQpdfs) {
    TempFolder config;
    const auto split = [&](const std::string& file, const std::string& options) {
        auto out = std::make_unique<TempFolder>();
        EXPECT_EQ(Split(config, out->Path(), options + " --warning-exit-0 " + Data(file)).status, 0) << options;
        return out;
    };
    // Without --update-links, links whose targets are all in one output keep working.
    const auto whole = split("mnras-guide-2col-rotated-page.pdf", "--equal 10");
    EXPECT_GT(Reader().FollowEveryLink(DataFile("mnras-guide-2col-rotated-page.pdf"), whole->Path(), false, 0), 50u);
    EXPECT_EQ(PdfInfoField(*whole / "Doc1.pdf", "PDF version"), "1.5");

    const auto labels = [](const TempFolder& out) {
        return QpdfJson(ShellQuote(out / "Doc2.pdf"), "--json-key=pagelabels")["pagelabels"].dump();
    };
    EXPECT_EQ(
        labels(*split("damaged-xref-outlines-labels-recoverable.pdf", "--equal 10")),
        R"([{"index":0,"label":{"/S":"/R","/St":7}},{"index":1,"label":{"/St":1}},{"index":2,"label":{"/S":"/r","/St":2}},{"index":5,"label":{"/S":"/r","/St":6}},{"index":9,"label":{"/St":1}}])");
    EXPECT_EQ(labels(*split("damaged-xref-outlines-labels-recoverable.pdf", "--equal 10 --remove-labels")), "[]");

    const auto fields = split("acroform-fields-two-pages-mixed-annots.pdf", "--equal 1");
    std::size_t total = 0;
    for (const char* f : {"Doc1.pdf", "Doc2.pdf"}) {
        const auto form = QpdfJson(ShellQuote(*fields / f), "--json-key=acroform")["acroform"];
        EXPECT_TRUE(form["hasacroform"].get<bool>()) << f;
        for (const auto& field : form["fields"]) EXPECT_EQ(field["pageposfrom1"].get<int>(), 1) << f;
        total += form["fields"].size();
    }
    EXPECT_EQ(total, 20u) << "every widget of the source, once";

    const auto linear = split("mnras-guide-2col-rotated-page.pdf", "--equal 5 --linearize");
    for (const char* f : {"Doc1.pdf", "Doc2.pdf"}) {
        const CommandResult r = RunCommand("qpdf --check-linearization " + ShellQuote(*linear / f) + " 2>&1");
        EXPECT_NE(r.output.find("no linearization errors"), std::string::npos) << r.output;
    }

    // One-page outputs share what their pages use no worse than qpdf's own split.
    const auto pages = split("mnras-guide-2col-rotated-page.pdf", "--equal 1");
    TempFolder qpdfOut;
    ASSERT_EQ(RunCommand("qpdf --split-pages " + Data("mnras-guide-2col-rotated-page.pdf") + " " +
                         ShellQuote(qpdfOut / "p-%d.pdf"))
                  .status,
              0);
    const auto size = [](const std::string& folder) {
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();
        return bytes;
    };
    EXPECT_LE(size(pages->Path()), size(qpdfOut.Path()) * 11 / 10);
}

TEST(WrittenOutputTest, WatermarksGoBehindOrOverTheirRangesPagesOnly) {
    TempFolder config, out, over;
    const std::string doc = " " + Data("multicolumn-latex-2col.pdf");
    ASSERT_EQ(Split(config, out.Path(),
                    "--doc '1-2:mark/Zwei – A/' --doc 3 --watermark Drei --watermark-behind "
                    "--watermark-transparency 0" +
                        doc)
                  .status,
              0);
    const std::string first = Qdf(out / "Doc1.pdf"), second = Qdf(out / "Doc2.pdf");
    const std::string zwei = "5a77656920962041", drei = "44726569";  // "Zwei – A" in WinAnsi, "Drei"
    EXPECT_EQ(StreamsShowing(first, 1, zwei), "1") << "behind: the first stream, before the page's own";
    EXPECT_EQ(StreamsShowing(first, 2, zwei), "1");
    EXPECT_EQ(StreamsShowing(second, 1, drei), "1");
    EXPECT_EQ(StreamsShowing(first, 1, drei), "") << "an item's own mark replaces the options' text";
    EXPECT_NE(first.find("/BaseFont /Times-Roman"), std::string::npos);

    ASSERT_EQ(Split(config, over.Path(), "--equal 2 --watermark Copy" + doc).status, 0);
    EXPECT_EQ(StreamsShowing(Qdf(over / "Doc2.pdf"), 1, "436f7079"), "3") << "over: after the page's own stream, last";

    // A page taken twice shows the mark of the range it was taken in.
    ASSERT_EQ(Split(config, out.Path(), "--base '' --doc 'A=1-2:mark/FIRST/,1-2,1:mark/SECOND/'" + doc).status, 0);
    const std::string repeated = Qdf(out / "A.pdf");
    for (int page = 1; page <= 5; ++page) {
        EXPECT_EQ(StreamsShowing(repeated, page, "4649525354").empty(), page > 2) << page;     // FIRST
        EXPECT_EQ(StreamsShowing(repeated, page, "5345434f4e44").empty(), page != 5) << page;  // SECOND
    }
    for (const char* f : {"Doc1.pdf", "Doc2.pdf", "A.pdf"}) EXPECT_TRUE(QpdfCheckPasses(out / f)) << f;
}
