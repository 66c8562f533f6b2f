// Every page of the input in an output, dropped with what made it go, or in
// no output, and said so by each route: dry-run lines, the JSON plan and
// report, batch lines, and warnings where a page goes missing.
#include <fstream>
#include <sstream>
#include <tuple>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

const std::string kTenPages = "mnras-guide-2col-rotated-page.pdf";

// The dry run's account lines (those that start with a word), one a line.
std::vector<std::string> AccountLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && (line[0] < '0' || line[0] > '9')) lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

// The page account of the first JSON line of a run's output.
nlohmann::json AccountOf(const std::string& output) {
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == '{') return nlohmann::json::parse(line)["account"];
    ADD_FAILURE() << "no JSON in " << output;
    return {};
}

}  // namespace

// Outputs whose selection finds nothing, manifests of counts that stop
// short, and splits meant to take every page that leave some: planned,
// listed and warned of alike by the dry run, the report and JSON.
TEST(PageAccountTest, PagesInNoOutputAndOutputsWithoutPagesAreListedAndWarnedOf) {
    TempFolder config, out, lists;
    const std::string input = " " + Data(kTenPages);
    const auto dry = [&](const std::string& options) {
        return Tessera(config, "split --reset --prefix none --dry-run " + options + input + " 2>&1");
    };
    const CommandResult empty = dry("--doc A=1-2 --doc 'B=/zqxjv/'");
    EXPECT_EQ(empty.status, 3);
    EXPECT_EQ(AccountLines(empty.output), (Lines{"tessera: DOCB.pdf has no pages and is not written.",
                                                 "no-pages\t2\tDOCB.pdf", "in-no-output\t3-10"}));
    // Written: the report lists it as not written, the rest is written.
    const CommandResult report = Split(config, out.Path(), "--json --doc A=1-2 --doc 'B=/zqxjv/'" + input);
    EXPECT_EQ(report.status, 3);
    const nlohmann::json json = nlohmann::json::parse(report.output);
    EXPECT_EQ(json["outputs"][1]["status"], "no-pages");
    EXPECT_EQ(json["account"]["empty_outputs"], nlohmann::json::array({2}));
    EXPECT_EQ(json["account"]["in_no_output"]["pages"], nlohmann::json::parse("[[3,10]]"));
    EXPECT_EQ(FilesBelow(out.Path()), std::vector<std::string>{"DOCA.pdf"});
    const CommandResult plan = Tessera(config, "split --reset --dry-run --json --doc A=1-2 --doc 'B=/zqxjv/'" + input);
    EXPECT_EQ(nlohmann::json::parse(plan.output)["outputs"][1]["status"], "no-pages");
    EXPECT_EQ(SchemaComplaints(report.output + plan.output), "");

    // Counts alone mean to take every page; selections pick what they pick.
    std::ofstream(lists / "counts.csv") << "name,count\nFirst,2\nSecond,2\n";
    std::ofstream(lists / "picks.csv") << "name,selection\nFirst,1-2\nSecond,3-4\n";
    const CommandResult counts = dry("--manifest " + ShellQuote(lists / "counts.csv"));
    EXPECT_EQ(counts.status, 3);
    EXPECT_NE(counts.output.find("Pages 5-10 are in no output."), std::string::npos) << counts.output;
    const CommandResult picks = dry("--manifest " + ShellQuote(lists / "picks.csv"));
    EXPECT_EQ(picks.status, 0);
    EXPECT_EQ(AccountLines(picks.output), Lines{"in-no-output\t5-10"}) << "said, not warned of";

    // A bookmark split at level 2 takes nothing before its first level-2
    // bookmark, nor what the level-1 bookmarks after its last one cover.
    const CommandResult bookmarks = dry("--bookmarks 2");
    EXPECT_EQ(bookmarks.status, 3);
    EXPECT_EQ(AccountLines(bookmarks.output),
              (Lines{"tessera: Pages 1, 9-10 are in no output.", "in-no-output\t1,9-10"}));

    // A separator split that finds none is one output, warned of.
    const CommandResult none = dry("--separator blank");
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.output.find("No separator was found"), std::string::npos) << none.output;
    EXPECT_EQ(dry("--separator blank --warning-exit-0").status, 0);
}

// Blank separators are dropped pages with their reason, in workers as in
// order, in the plan, the report and a batch's lines alike.
TEST(PageAccountTest, DroppedPagesAreTheSameInEveryRouteAndWithAnyNumberOfWorkers) {
    TempFolder config;
    const std::string thesis = "abntex2-thesis-blank-versos-outline-depth6.pdf";
    JobsRun one, two;
    SplitWithJobs(one, config, "--json --separator blank " + Data(thesis), 1);
    SplitWithJobs(two, config, "--json --separator blank " + Data(thesis), 2);
    const nlohmann::json a = AccountOf(one.result.output);
    EXPECT_EQ(a, AccountOf(two.result.output));
    EXPECT_EQ(a["dropped"]["count"], 32);
    const CommandResult plan = Tessera(config, "split --reset --dry-run --json --separator blank " + Data(thesis));
    EXPECT_EQ(AccountOf(plan.output), a);

    TempFolder in, out;
    std::filesystem::copy_file(DataFile(thesis), in / "thesis.pdf");
    const std::string profile = in / "blank.tpr";
    ASSERT_EQ(Tessera(config, "split --reset --separator blank -o " + ShellQuote(out.Path()) + " --save-profile " +
                                  ShellQuote(profile) + " " + Data(thesis))
                  .status,
              0);
    const CommandResult batch =
        Tessera(config, "batch --json --quiet --profile " + ShellQuote(profile) + " --folder " + ShellQuote(in.Path()));
    EXPECT_EQ(AccountOf(batch.output), a) << batch.output;
    EXPECT_EQ(SchemaComplaints(batch.output + plan.output), "");

    // A duplex scan: sheets 3 and 7 are fronts, 8 goes as 7's blank back.
    const CommandResult duplex = Tessera(config, "split --reset --dry-run --separator scan --duplex " +
                                                     Data("scanned-gray-sheets-specks-bleed-through.pdf"));
    EXPECT_EQ(AccountLines(duplex.output),
              (Lines{"dropped\t3\tblank\tscan\t", "dropped\t7\tblank\tscan\t", "dropped\t8\tsheet-back\tback\t"}));
}

// A scanned batch of invoices behind QR sheets: two invoices carry a payment
// QR, one a postal frank's Code 128. Only the sheets, which hold little but
// their code, are separators; every invoice is written, under its code.
TEST(PageAccountTest, ContentPagesWithACodeStayContentAndEveryDocumentIsWritten) {
    TempFolder config, out;
    const std::string batch = " " + Data("scanned-invoices-payment-qr.pdf");
    const CommandResult plan =
        Tessera(config, "split --reset --dry-run --prefix none --separator code --name '{code}'" + batch);
    EXPECT_EQ(plan.status, 0);
    EXPECT_EQ(plan.output,
              "1\tINV-1001.pdf\t2-3\tINV-1001\n2\tINV-1002.pdf\t5\tINV-1002\n3\tINV-1003.pdf\t7-8\tINV-1003\n"
              "dropped\t1\tseparator\tcode\tINV-1001\ndropped\t4\tseparator\tcode\tINV-1002\n"
              "dropped\t6\tseparator\tcode\tINV-1003\n");
    JobsRun one, two;
    SplitWithJobs(one, config, "--deterministic --json --separator code --name '{code}'" + batch, 1);
    SplitWithJobs(two, config, "--deterministic --json --separator code --name '{code}'" + batch, 2);
    ExpectSameRuns(one, two);
    EXPECT_EQ(FilesBelow(two.out.Path()), (std::vector<std::string>{"INV-1001.pdf", "INV-1002.pdf", "INV-1003.pdf"}));
    EXPECT_EQ(PdfInfoField(two.out / "INV-1002.pdf", "Pages"), "1");
    EXPECT_TRUE(QpdfCheckPasses(two.out / "INV-1002.pdf"));

    // Any page with a code: the payment pages become sheets, their
    // documents have no pages, and all of it is said with its value.
    const CommandResult anywhere =
        Tessera(config, "split --reset --dry-run --prefix none --separator code --code-anywhere" + batch + " 2>&1");
    EXPECT_EQ(anywhere.status, 3);
    EXPECT_NE(anywhere.output.find("dropped\t2\tseparator\tcode\tBCD\\n002\\n"), std::string::npos) << anywhere.output;
    EXPECT_NE(anywhere.output.find("more than half of the document"), std::string::npos) << anywhere.output;
    EXPECT_NE(anywhere.output.find("Doc4.pdf has no pages"), std::string::npos) << anywhere.output;
}

// Scans of real yellow paper (250, 235, 90) and pastel (255, 245, 130)
// between white text pages, one with a yellow highlighted line: the named
// colour and either sheet as a sample find both and nothing else; a pure
// #FFFF00 finds none and says so; white paper is no sheet colour.
TEST(PageAccountTest, ColourSheetsAreFoundAsScannedAndPaperIsNoSheetColour) {
    TempFolder config;
    const std::string sheets = " " + Data("coloured-sheets-yellow-pastel.pdf");
    const auto plan = [&](const std::string& separator) {
        return Tessera(config, "split --reset --dry-run --prefix none --separator " + separator + sheets + " 2>&1");
    };
    for (const char* found : {"sheet=yellow", "sheet=page:2", "sheet=page:5"}) {
        const CommandResult r = plan(found);
        EXPECT_EQ(r.status, 0) << found;
        std::string runs;
        for (const auto& line : PlanLines(r.output)) runs += line.at(2) + " ";
        EXPECT_EQ(runs, "1 3-4 6-7 ") << found;
        const Lines account = AccountLines(r.output);
        ASSERT_EQ(account.size(), 2u) << r.output;
        EXPECT_EQ(account[0].rfind("dropped\t2\tseparator\tsheet\t", 0), 0u) << account[0];
        EXPECT_EQ(account[1].rfind("dropped\t5\tseparator\tsheet\t", 0), 0u) << account[1];
    }
    // Pure #FFFF00 finds none and says so; white paper is no sheet colour.
    for (const auto& [separator, status, says] :
         {std::tuple{"'sheet=#FFFF00'", 3, "No separator was found"},
          {"sheet=white", 2, "--separator blank"},
          {"'sheet=#D0D0D0:64'", 2, "--separator blank"},
          {"sheet=page:1", 1, "Page 1, the sample sheet, is of colour #"},
          {"sheet=page:8", 1, "Page 8, the sample sheet, is not in the document"}}) {
        const CommandResult r = plan(separator);
        EXPECT_EQ(r.status, status) << separator;
        EXPECT_NE(r.output.find(says), std::string::npos) << r.output;
    }
}

// A sheet showing a QR code of a web address and a Code 128: a pattern
// takes the page for the code it matches, and names from that code.
TEST(PageAccountTest, APatternTakesTheSheetForAnyOfItsCodesAndNamesFromTheOneItMatches) {
    TempFolder config;
    const std::string sheet = " " + Data("code-sheet-qr-and-code128.pdf");
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --prefix none --separator 'code=^BOX-(\\d+)' --name 'Box {1}'" + sheet)
            .output,
        "1\tBox .pdf\t1\n2\tBox 0042.pdf\t3-5\tBOX-0042\ndropped\t2\tseparator\tcode\tBOX-0042\n");
}

// A profile's range made on a longer document: the pages it asks for past
// the last page are warned of and listed, whatever route runs it.
TEST(PageAccountTest, ARangePastTheLastPageIsWarnedOfOnEveryRoute) {
    TempFolder config, work, out;
    const std::string six = work / "six.pdf", profile = work / "r.tpr";
    ASSERT_EQ(RunCommand("qpdf --empty --pages " + Data(kTenPages) + " 1-6 -- " + ShellQuote(six)).status, 0);
    ASSERT_EQ(Tessera(config, "split --reset --prefix none --doc A=1-2 --doc B=5-9 -o " + ShellQuote(out.Path()) +
                                  " --save-profile " + ShellQuote(profile) + " " + Data(kTenPages))
                  .status,
              0);
    const CommandResult plan =
        Tessera(config, "split --dry-run --profile " + ShellQuote(profile) + " " + ShellQuote(six));
    EXPECT_EQ(plan.status, 3);
    EXPECT_EQ(AccountLines(plan.output), (Lines{"in-no-output\t3-4", "beyond-document\t2\t7-9"}));
    const CommandResult run =
        Tessera(config, "split --json --quiet --profile " + ShellQuote(profile) + " " + ShellQuote(six));
    EXPECT_EQ(run.status, 3);
    const nlohmann::json report = nlohmann::json::parse(run.output);
    EXPECT_EQ(report["account"]["beyond_document"], nlohmann::json::parse(R"([{"output": 2, "pages": [7, 9]}])"));
    ASSERT_EQ(report["warnings"].size(), 1u) << run.output;
    EXPECT_NE(report["warnings"][0].get<std::string>().find("pages 7-9"), std::string::npos);
    fs::remove_all(out.Path());
    const CommandResult batch =
        Tessera(config, "batch --json --quiet --profile " + ShellQuote(profile) + " --file " + ShellQuote(six));
    EXPECT_EQ(batch.status, 3);
    EXPECT_EQ(AccountOf(batch.output)["beyond_document"], report["account"]["beyond_document"]);
    EXPECT_EQ(SchemaComplaints(batch.output + run.output), "");
}

}  // namespace tessera::test
