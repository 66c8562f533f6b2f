// What a dry run plans for real documents, checked against what MuPDF,
// pdftotext and pdfimages read in them; profiles plan as their options.
#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/ScopedEnvironment.h"

using namespace tessera::test;

namespace {

// For an outline in page order, as MuPDF reads it: each item that leads to a
// page runs to the next one. An item's line starts with a mark and a tab a level.
std::string ExpectedSpans(const std::string& file, int low, int high, int pageCount) {
    std::vector<std::pair<int, int>> items;  // (1-based page, level)
    std::istringstream outline(RunCommand("mutool show " + Data(file) + " outline 2>/dev/null").output);
    for (std::string line; std::getline(outline, line);) {
        const int level = static_cast<int>(line.find('"')) - 1;
        const std::size_t page = line.rfind("\t#page=");
        if (page != std::string::npos && level <= high) items.emplace_back(std::stoi(line.substr(page + 7)), level);
    }
    std::string spans;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int next = i + 1 < items.size() ? items[i + 1].first : pageCount + 1;
        const int last = next == items[i].first ? next : next - 1;
        if (items[i].second < low) continue;
        spans += (spans.empty() ? "" : " ") + std::to_string(items[i].first);
        if (last != items[i].first) spans += "-" + std::to_string(last);
    }
    return spans;
}

// The runs of a plan, one output's after another's: "1-3 5-7".
std::string PlannedRuns(const CommandResult& r) {
    std::string runs;
    for (const auto& line : PlanLines(r.output)) runs += (runs.empty() ? "" : " ") + line.at(2);
    return runs;
}

// Each annotation as MuPDF reads the file's objects: "page subtype action",
// the action "-" for none.
constexpr const char* kAnnotationLister = R"(
var doc = new PDFDocument(scriptArgs[0]);
for (var p = 0; p < doc.countPages(); ++p) {
  var annots = doc.findPage(p).get("Annots");
  for (var i = 0; annots && i < annots.length; ++i) {
    var a = annots.get(i), d = a.get("Dest"), s = a.get("A");
    print((p + 1) + " " + a.get("Subtype") + " " + (d ? "GoTo" : s ? s.get("S") : "-"));
  }
}
)";

// The 1-based pages whose pdftotext text grep finds the word in.
std::string PagesByGrep(const std::string& file, const std::string& word, const std::string& grepFlags) {
    TempFolder pages;
    const auto texts = PageTexts(DataFile(file));
    for (std::size_t p = 0; p < texts.size(); ++p) std::ofstream(pages / std::to_string(p + 1)) << texts[p];
    const CommandResult r = RunCommand("cd " + ShellQuote(pages.Path()) + " && LC_ALL=C.UTF-8 grep -l " + grepFlags +
                                       " " + ShellQuote(word) + " * | sort -n | paste -sd,");
    return r.output.substr(0, r.output.find('\n'));
}

// Each output PDF under folder, decrypted.
std::map<std::string, std::string> Written(const std::string& folder) {
    std::map<std::string, std::string> written;
    for (const std::string& name : FilesBelow(folder))
        if (name.ends_with(".pdf"))
            written[name] = WithoutId(RunCommand("qpdf --decrypt " + ShellQuote(folder + "/" + name) + " -").output);
    return written;
}

std::string Sample(const char* name) { return ShellQuote(std::string(TESSERA_SAMPLES) + "/" + name); }

}  // namespace

TEST(PlanTest, BookmarkPlansOfRealOutlinesMatchMupdfsReading) {
    TempFolder config;
    const struct {
        const char* file;
        int pages, low, high;
    } rows[] = {{"hyperref-manual-outline-gotor-launch-named.pdf", 63, 1, 1},
                {"hyperref-manual-outline-gotor-launch-named.pdf", 63, 1, 3},
                {"hyperref-manual-outline-gotor-launch-named.pdf", 63, 2, 2},
                {"mnras-guide-2col-rotated-page.pdf", 10, 1, 2}};
    for (const auto& row : rows) {
        const std::string levels = std::to_string(row.low) + "-" + std::to_string(row.high);
        SCOPED_TRACE(row.file + (" levels " + levels));
        const CommandResult r = Tessera(config, "split --dry-run --bookmarks " + levels + " " + Data(row.file));
        const std::string expected = ExpectedSpans(row.file, row.low, row.high, row.pages);
        // Pages before the first bookmark are in no output, which is a warning.
        ASSERT_EQ(r.status, expected.starts_with("1-") || expected.starts_with("1 ") ? 0 : 3) << expected;
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(PlannedRuns(r), expected);
    }
}

TEST(PlanTest, PagesFoundByTheirTextAgreeWithPdftotext) {
    TempFolder config;
    const struct {
        const char* file;
        const char* word;
        const char* options;
        const char* grepFlags;
    } rows[] = {{"multicolumn-latex-2col.pdf", "Lorem", "", "-i"},
                {"ctex-manual-chinese.pdf", "字体", "", "-F"},
                {"abntex2-thesis-blank-versos-outline-depth6.pdf", "REFERÊNCIAS", "--whole-words", "-i -w"},
                {"abntex2-thesis-blank-versos-outline-depth6.pdf", "Referências", "--match-case", "-F"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.word);
        const CommandResult r =
            Tessera(config, "split --reset --dry-run " + std::string(row.options) + " --doc " +
                                ShellQuote("/" + std::string(row.word) + "/") + " " + Data(row.file));
        ASSERT_EQ(r.status, 0);
        const std::string expected = PagesByGrep(row.file, row.word, row.grepFlags);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(PlannedPages(r), expected);
    }
    // Page 6 is turned by 90 degrees: its running head "K. T. Smith" then lies
    // along the right edge of the page as shown (checked on its rendering).
    const std::string mnras = Data("mnras-guide-2col-rotated-page.pdf");
    EXPECT_EQ(
        PlannedRuns(Tessera(config, "split --reset --dry-run --separator text=Smith --area 682,0,782,595 " + mnras)),
        "1-5 6-10");
    EXPECT_EQ(PlanLines(Tessera(config, "split --reset --dry-run --separator text=Smith " + mnras).output).size(), 6u)
        << "the head of every even page, and page 1";
}

TEST(PlanTest, ARunawayPatternIsReportedNotHanging) {
    TempFolder config;
    const auto start = std::chrono::steady_clock::now();
    const CommandResult r = Tessera(config, "split --reset --dry-run --regex --separator 'text=(\\w+\\s?)+$x' " +
                                                Data("mnras-guide-2col-rotated-page.pdf") + " 2>&1");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(r.status, 3) << "no separator was found";
    EXPECT_NE(r.output.find("needs too many steps"), std::string::npos) << r.output;
}

TEST(PlanTest, ContentQueriesAgreeWithMupdfAndPdfimages) {
    TempFolder config;
    const auto query = [&](const std::string& file, const std::string& selection) {
        return PlannedPages(Tessera(config, "split --reset --dry-run --doc " + selection + " " + Data(file)));
    };
    const std::string ndsu = "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf";
    const CommandResult images =
        RunCommand("pdfimages -list " + Data(ndsu) + " | awk 'NR>2{print $1}' | sort -nu | paste -sd,");
    const std::string imagePages = images.output.substr(0, images.output.find('\n'));
    ASSERT_FALSE(imagePages.empty());
    EXPECT_EQ(query(ndsu, "@image"), imagePages);

    TempFolder script;
    std::ofstream(script / "annots.js") << kAnnotationLister;
    for (const char* file : {"hyperref-manual-outline-gotor-launch-named.pdf", "mnras-guide-2col-rotated-page.pdf",
                             "acroform-fields-two-pages-mixed-annots.pdf"}) {
        SCOPED_TRACE(file);
        const std::string annotations =
            RunCommand("mutool run " + ShellQuote(script / "annots.js") + " " + Data(file) + " 2>/dev/null").output;
        const auto pagesWith = [&](const std::string& pattern) {
            std::set<int> pages;
            std::istringstream in(annotations);
            for (std::string line; std::getline(in, line);)
                if (std::regex_search(line, std::regex(pattern))) pages.insert(std::stoi(line));
            return JoinPages(pages);
        };
        EXPECT_EQ(query(file, "@uri"), pagesWith(" URI$"));
        EXPECT_EQ(query(file, "@link"), pagesWith(" GoTo$"));
        EXPECT_EQ(query(file, "@launch"), pagesWith(" Launch$"));
        EXPECT_EQ(query(file, "@annotation"), pagesWith(" (Text|FreeText) "));
        EXPECT_EQ(query(file, "@popup"), pagesWith(" Popup "));
    }
    EXPECT_EQ(query("mnras-guide-2col-rotated-page.pdf", "@rotated"), "6");
}

TEST(PlanTest, BlankSeparatorsAreThePagesWithoutTextAndScannedSheetsWithoutInk) {
    TempFolder config;
    const std::string thesis = "abntex2-thesis-blank-versos-outline-depth6.pdf";
    std::vector<int> withText, planned;
    const auto texts = PageTexts(DataFile(thesis));
    for (std::size_t p = 0; p < texts.size(); ++p)
        if (!texts[p].empty()) withText.push_back(static_cast<int>(p) + 1);
    ASSERT_EQ(withText.size(), 83u - 32u) << "pdftotext finds 32 pages without text, each one blank as rendered";
    const CommandResult blank = Tessera(config, "split --reset --dry-run --separator blank " + Data(thesis));
    for (const auto& line : PlanLines(blank.output))
        for (int page : RunPages(line.at(2))) planned.push_back(page);
    EXPECT_EQ(planned, withText) << "every page with text, in order, and nothing else";
    EXPECT_EQ(PlanLines(Tessera(config, "split --dry-run --separator scan " + Data(thesis)).output).size(), 33u)
        << "pages with nothing on them also pass as blank scans";

    // Gray scans: text on 1, 2, 4, 6 and 9; specks only on 3, 7 and 8, whose
    // image data deflates to 0.0022 of its size; faint bleed-through on 5 (0.0057).
    const std::string scans = Data("scanned-gray-sheets-specks-bleed-through.pdf");
    for (const auto& [sensitivity, runs] :
         {std::pair{"scan", "1-2 4-6 9"}, {"scan=80", "1-2 4 6 9"}, {"scan=10", "1-9"}, {"blank", "1-9"}}) {
        EXPECT_EQ(PlannedRuns(
                      Tessera(config, "split --reset --dry-run --separator " + std::string(sensitivity) + " " + scans)),
                  runs)
            << sensitivity;
    }
    EXPECT_EQ(PlannedRuns(Tessera(config, "split --reset --dry-run --separator scan --keep-separators " + scans)),
              "1-2 3-6 7 8-9")
        << "a kept separator starts the next output";
    EXPECT_EQ(
        PlannedRuns(Tessera(config, "split --reset --dry-run --separator scan --duplex --keep-separators " + scans)),
        "1-2 3-6 7-9")
        << "scanned on both sides, a kept sheet starts its output with its back";
}

// --save-profile, then --profile, plan and write the same outputs as the
// options themselves; the sample profiles are those options.
// Sheets with a QR code as scanned (images), and a shipping label whose Code
// 128 is drawn: each ends the output before it and names the one after it.
TEST(PlanTest, SheetsWithACodeSeparateOutputsAndNameThem) {
    TempFolder config;
    const std::string sheets = " " + Data("code-separator-sheets.pdf");
    // Sheet 5 (DOC-B) is followed by sheet 6: its document has no pages, and is said.
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --separator code --name '{code}'" + sheets).output,
              "1\t1.pdf\t1-2\n2\tDOC-A.pdf\t4\tDOC-A\n3\tDOC-B.pdf\t\tDOC-B\n4\tSHIP-1234.pdf\t7-8\tSHIP-1234\n"
              "no-pages\t3\tDOC-B.pdf\ndropped\t3\tseparator\tcode\tDOC-A\n"
              "dropped\t5\tseparator\tcode\tDOC-B\ndropped\t6\tseparator\tcode\tSHIP-1234\n");
    // A sheet as a mixed-raster scanner writes it: the code is a mask over a background image.
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --prefix none --separator code --name '{code}' " +
                                  Data("code-sheet-mrc-layers.pdf"))
                  .output,
              "1\t1.pdf\t1\n2\tMRC-0007.pdf\t3\tMRC-0007\ndropped\t2\tseparator\tcode\tMRC-0007\n");
    EXPECT_EQ(PlannedRuns(Tessera(config, "split --reset --dry-run --separator code --keep-separators" + sheets)),
              "1-2 3-4 5 6-8");
    EXPECT_EQ(PlannedRuns(Tessera(config, "split --reset --dry-run --separator code --duplex" + sheets)), "1-2 4 7-8")
        << "only fronts are sheets; the label on sheet 3's back goes with it";
    EXPECT_EQ(
        PlannedRuns(Tessera(config, "split --reset --dry-run --separator code --duplex --keep-separators" + sheets)),
        "1-2 3-4 5-8")
        << "a kept sheet starts its output, its back with it";
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --separator 'code=^DOC-(\\w)' --name 'Part {1}'" + sheets).output,
        "1\tPart .pdf\t1-2\n2\tPart A.pdf\t4\tDOC-A\n3\tPart B.pdf\t6-8\tDOC-B\n"
        "dropped\t3\tseparator\tcode\tDOC-A\ndropped\t5\tseparator\tcode\tDOC-B\n");
}

// Scanned sheets read from their images as stored: a QR stencil mask (2), a
// mirrored Data Matrix (4), a Code 39 (7), and a JPEG cut short (5), which is
// said once, by every scan of the page's pixels, and is never a separator.
TEST(PlanTest, CodesAreReadFromScansAsStoredOfTheKindsAskedAndADamagedImageIsSaidOnce) {
    TempFolder config;
    const std::string sheets = " " + Data("code-sheets-mask-mirrored-damaged-jpeg.pdf");
    const auto plan = [&](const std::string& options) {
        return PlannedRuns(Tessera(config, "split --reset --dry-run " + options + sheets + " 2>/dev/null"));
    };
    const auto said = [&](const std::string& options) {
        const std::string errors =
            Tessera(config, "split --reset --dry-run " + options + sheets + " 2>&1 >/dev/null").output;
        std::size_t times = 0;
        for (std::size_t at = 0; (at = errors.find("Page 5 could not be read", at)) != std::string::npos; ++at) ++times;
        return times;
    };
    EXPECT_EQ(plan("--separator code"), "1 3 5-6 8");
    EXPECT_EQ(plan("--separator code --code-kinds qr,datamatrix"), "1 3 5-8");
    EXPECT_EQ(plan("--separator sheet=black"), "1-8") << "no page is black, and the damaged page is no sheet";
    for (const char* scan : {"--separator code", "--separator sheet=black"}) EXPECT_EQ(said(scan), 1u) << scan;
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --separator code --code-kinds qr,bar" + sheets).status, 2);
}

TEST(PlanTest, SavedAndSampleProfilesPlanAndWriteAsTheirOptions) {
    const struct {
        const char* sample;  // in samples/, saved from these options
        const char* options;
        const char* file;
    } methods[] = {
        {"equal-pages.tpr",
         "--equal 3 --prefix none --base Part --suffix letter --linearize --watermark Draft --watermark-size 30 "
         "--watermark-transparency 20 --watermark-behind",
         "mnras-guide-2col-rotated-page.pdf"},
        {"bookmark-levels.tpr", "--bookmarks 1-2 --prefix name --folders --html-index",
         "mnras-guide-2col-rotated-page.pdf"},
        {"separator-text.tpr", "--separator text=Smith --area 682,0,782,595 --match-case --prefix none --suffix pages",
         "mnras-guide-2col-rotated-page.pdf"},
        {"hand-made.tpr",
         "--prefix none --base Lorem- --deny print --doc 'Front=1-2' --doc '/Lorem/' --doc 'z-2:odd' "
         "--doc 'Span=/Lorem/../ipsum/' --doc @link",
         "multicolumn-latex-2col.pdf"},
        {"name-template.tpr", "--equal 1 --prefix none --name '{n:0}-{1}' --name-pattern 'K\\. T\\. (\\w+)'",
         "mnras-guide-2col-rotated-page.pdf"},
        {"value-change.tpr",
         "--separator 'change=regex:CHAPTER ([0-9]+)' --group-same-key --on-missing new --prefix none "
         "--name 'Ch{1}-{n:0}'",
         "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf"},
    };
    TempFolder config, folder;
    // The files of two runs are compared: their metadata's time and ids are fixed.
    ScopedEnvironment fixed;
    fixed.Set("SOURCE_DATE_EPOCH", "86400");
    fixed.Set("TESSERA_STATIC_ID", "1");
    for (const auto& m : methods) {
        SCOPED_TRACE(m.sample);
        const std::string input = " " + Data(m.file);
        const CommandResult byOptions = Tessera(config, "split --dry-run " + std::string(m.options) + input);
        ASSERT_TRUE(byOptions.status == 0 || byOptions.status == 3) << "planned, perhaps with pages in no output";
        ASSERT_FALSE(byOptions.output.empty());
        const std::string saved = folder / m.sample;
        ASSERT_EQ(
            Tessera(config, "split --quiet " + std::string(m.options) + " --save-profile " + ShellQuote(saved) + input)
                .status,
            0);
        EXPECT_EQ(Tessera(config, "split --dry-run --profile " + ShellQuote(saved) + input).output, byOptions.output);
        EXPECT_EQ(Tessera(config, "split --dry-run --profile " + Sample(m.sample) + input).output, byOptions.output);
        const std::string fromOptions = folder / (std::string("options-") + m.sample);
        const std::string fromProfile = folder / (std::string("profile-") + m.sample);
        ASSERT_EQ(Tessera(config, "split --quiet --yes --warning-exit-0 -o " + ShellQuote(fromOptions) + " " +
                                      m.options + input)
                      .status,
                  0);
        ASSERT_EQ(Tessera(config, "split --quiet --yes --warning-exit-0 -o " + ShellQuote(fromProfile) + " --profile " +
                                      ShellQuote(saved) + input)
                      .status,
                  0);
        EXPECT_TRUE(Written(fromProfile) == Written(fromOptions));
    }
    // Options change the profile wherever they stand; --doc replaces its outputs.
    const std::string mnras = " " + Data("mnras-guide-2col-rotated-page.pdf");
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 5 --profile " + Sample("equal-pages.tpr") + mnras).output,
              "1\tPartA.pdf\t1-5\n2\tPartB.pdf\t6-10\n");
    EXPECT_EQ(Tessera(config, "split --dry-run --profile " + Sample("hand-made.tpr") + " --doc 9-10" + mnras).output,
              "1\tLorem-1.pdf\t9-10\nin-no-output\t1-8\n");
    // A template names every output, a hand-made one's too, and may make folders.
    EXPECT_EQ(
        PlanLines(Tessera(config, "split --dry-run --profile " + Sample("name-template.tpr") + mnras).output)[1][1],
        "02-Smith.pdf");
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --bookmarks 1 --name '{title:}/{n:0}' " + mnras).status, 2);
    EXPECT_EQ(
        PlanLines(Tessera(config, "split --reset --dry-run --prefix none --doc 'X=1-2,5' --name '{from}-{to}'" + mnras)
                      .output)[0][1],
        "1-5.pdf")
        << "{to} is the last range's end";
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --prefix none --doc 'A=1-5:odd' --doc 'B=1-5:even'" + mnras).output,
        "1\tDOCA.pdf\t1,3,5\n2\tDOCB.pdf\t2,4\nin-no-output\t6-10\n");
    // Against --name-pattern, {key} is the whole match and {1} its group, as the README says.
    EXPECT_EQ(PlanLines(Tessera(config,
                                "split --reset --dry-run --equal 5 --name '{key}+{1}' --name-pattern "
                                "'K\\. T\\. (\\w+)'" +
                                    mnras)
                            .output)[1][1],
              "K_ T_ Smith+Smith.pdf");
    // A misspelt field, or a group hidden by a field of the template's own,
    // is refused, not left empty; a typed ".pdf" is the name's own ending.
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --equal 5 --name '{tilte}' " + mnras).status, 2);
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --equal 5 --name 'X{n}' --name-pattern '(?<n>\\w+)' " + mnras).status,
        2);
    EXPECT_EQ(PlanLines(Tessera(config,
                                "split --reset --dry-run --equal 5 --name 'A-{who}.PDF' --name-pattern "
                                "'(?<who>Smith)' " +
                                    mnras)
                            .output)[0][1],
              "A-Smith.pdf");
    EXPECT_EQ(
        PlanLines(
            Tessera(config, "split --reset --dry-run --doc 'Front=1-2' --name '{input}/{title} {from}-{to}' " + mnras)
                .output)[0][1],
        "mnras-guide-2col-rotated-page/Front 1-2.pdf");
    // A manifest is a list of --doc: counts take the next pages.
    const std::string manifest = folder / "list.csv";
    std::ofstream(manifest) << "name,selection\nIntro,2\n\"Rest all\",z-9\nMore,3\n";
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --prefix none --base '' --manifest " + manifest + mnras).output,
              "1\tIntro.pdf\t1-2\n2\tRest all.pdf\t10-9\n3\tMore.pdf\t3-5\nin-no-output\t6-8\n");
    // Names from a file: one per output, or the run stops as a usage error before writing.
    const std::string names = folder / "names.txt";
    std::ofstream(names) << "a/First\r\nSecond\n";
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --equal 5 --names " + names + mnras).output,
              "1\ta/First.pdf\t1-5\n2\tSecond.pdf\t6-10\n");
    const CommandResult tooMany = Tessera(
        config, "split --reset --yes --equal 10 -o " + (folder / "none") + " --names " + names + mnras + " 2>&1");
    EXPECT_EQ(tooMany.status, 2);
    EXPECT_NE(tooMany.output.find("2 names for 1 output"), std::string::npos) << tooMany.output;
    EXPECT_FALSE(std::filesystem::exists(folder / "none"));
}
