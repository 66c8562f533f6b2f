#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <fstream>
#include <regex>

#include "e2e/E2eSupport.h"
#include "support/ScannedFixture.h"

namespace tessera::test {
namespace {

// An invoice run as a scanner gives it back: five pages, three invoices, the
// second of two pages whose continuation repeats the number in other
// spacing, as OCR reads "No. 1002" and "No.1002" from print that was one.
const std::vector<std::string> kInvoices = {
    "ACME Supplies Ltd\nINVOICE No. 1001\nDate 2026-03-02\nWidgets 4 at 12.00\nTotal 48.00",
    "ACME Supplies Ltd\nINVOICE No. 1002\nDate 2026-03-04\nBolts 100 at 0.20\nNuts 100 at 0.10",
    "ACME Supplies Ltd\nINVOICE No.1002\nContinued\nTotal 30.00",
    "ACME Supplies Ltd\nINVOICE No. 1003\nDate 2026-03-09\nHinges 8 at 3.50\nTotal 28.00",
    "Delivery terms\nGoods remain ours until paid\nThank you for your order",
};
// The line of the invoice number, in points from the top left.
const std::string kNumberArea = "60,94,320,102";

struct ScannedRun {
    TempFolder config, folder;
    std::string input = folder.Path() + "/scan.pdf";
    explicit ScannedRun(const std::vector<int>& turned = {}, int copies = 1, const std::vector<int>& garbled = {}) {
        std::vector<std::string> pages;
        for (int i = 0; i < copies; ++i) pages.insert(pages.end(), kInvoices.begin(), kInvoices.end());
        WriteScannedPdf(input, pages, 150, turned, garbled);
    }
    CommandResult Plan(const std::string& options) {
        return Tessera(config, "split --reset --prefix none --dry-run " + options + " " + ShellQuote(input));
    }
};

std::string Column(const CommandResult& plan, std::size_t column) {
    std::string out;
    for (const auto& line : PlanLines(plan.output))
        if (line.size() > column && line[0] != "dropped") out += (out.empty() ? "" : "|") + line[column];
    return out;
}

// The first page's text layer over its number maps to no character: it is
// read by OCR as the others are.
TEST(OcrTest, ValuesOnScansSplitWhereTheInvoiceChanges) {
    ScannedRun run({}, 1, {0});
    const CommandResult area = run.Plan("--separator change=area:" + kNumberArea);
    EXPECT_EQ(Column(area, 2), "1|2-3|4|5") << area.output;
    EXPECT_EQ(Column(area, 3), "INVOICE No 1001|INVOICE No 1002|INVOICE No 1003|Goods remain ours until paid")
        << area.output;
    EXPECT_EQ(std::regex_replace(Column(area, 4), std::regex("[0-9]+"), "N"), "ocr:N%|ocr:N%|ocr:N%|ocr:N%")
        << "how sure each value read by OCR is";
    const CommandResult regex = run.Plan("--separator 'change=regex:No\\.? ?(\\d{4})' --on-missing keep");
    EXPECT_EQ(Column(regex, 2), "1|2-3|4-5") << regex.output;
    const CommandResult never = run.Plan("--ocr never --separator change=area:" + kNumberArea);
    EXPECT_EQ(Column(never, 2), "1-5") << "no value is read without OCR: " << never.output;
}

// Where pdftotext puts a word on the first page: xMin, yMin, xMax, yMax in
// points from the top left as the page is shown; none when it has no such word.
std::vector<double> WordPlace(const std::string& pdf, const std::string& word) {
    const std::string html = RunCommand("pdftotext -bbox -f 1 -l 1 " + ShellQuote(pdf) + " - 2>/dev/null").output;
    const std::regex box("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">" + word +
                         "</word>");
    std::smatch found;
    if (!std::regex_search(html, found, box)) return {};
    return {std::stod(found[1]), std::stod(found[2]), std::stod(found[3]), std::stod(found[4])};
}

std::string Rendered(const std::string& pdf, int page) {
    const std::string p = std::to_string(page);
    return RunCommand("pdftoppm -r 30 -gray -f " + p + " -l " + p + " " + ShellQuote(pdf) + " 2>/dev/null").output;
}

// A text separator, names read from an area and a searchable layer, on
// scans with a turned page: each output's pages carry the words where the
// pictures show them, invisibly, and the input is not touched.
TEST(OcrTest, ScansSplitByTextAreNamedFromThePageAndMadeSearchable) {
    ScannedRun run({3});
    const std::string before = ReadFile(run.input);
    const std::string options = "--separator text=Date --suffix text --name-area " + kNumberArea + " --ocr-layer ";
    const CommandResult plan = run.Plan(options);
    ASSERT_EQ(Column(plan, 2), "1|2-3|4-5") << plan.output;
    const std::vector<std::string> names = {"INVOICE No 1001", "INVOICE No 1002", "INVOICE No 1003"};
    const TempFolder out;
    ASSERT_EQ(Split(run.config, out.Path(), options + ShellQuote(run.input)).status, 0);
    EXPECT_EQ(ReadFile(run.input), before) << "the input is never written";
    std::vector<std::string> files;
    for (const auto& line : PlanLines(plan.output)) files.push_back(out.Path() + "/" + line.at(1));
    ASSERT_EQ(files.size(), 3u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_NE(files[i].find(names[i].substr(names[i].size() - 4)), std::string::npos) << "named from the area";
        EXPECT_EQ(RunCommand("qpdf --check " + ShellQuote(files[i]) + " >/dev/null 2>&1").status, 0);
    }
    const std::string text = RunCommand("pdftotext " + ShellQuote(files[1]) + " - 2>/dev/null").output;
    EXPECT_NE(text.find("Continued"), std::string::npos) << "the second page's words too: " << text;
    // The turned page: "Hinges" starts the fourth line, 72 points from the
    // left, its baseline 128 points down as the page is shown, its capitals
    // 8.6 points high and its "g" 2.5 deep.
    const std::vector<double> hinges = WordPlace(files[2], "Hinges");
    ASSERT_EQ(hinges.size(), 4u) << RunCommand("pdftotext " + ShellQuote(files[2]) + " -").output;
    EXPECT_NEAR(hinges[0], 72, 4);
    EXPECT_NEAR((hinges[1] + hinges[3]) / 2, 125, 4) << hinges[1] << " to " << hinges[3];
    EXPECT_GT(hinges[2] - hinges[0], 25) << "stretched over the word";
    EXPECT_EQ(Rendered(files[2], 1), Rendered(run.input, 4)) << "the picture is as it was";
    EXPECT_EQ(Rendered(files[0], 1), Rendered(run.input, 1));
}

// Every route refuses what OCR cannot do, before anything is read or written.
TEST(OcrTest, WhatOcrCannotDoIsRefusedBeforeAnythingIsWritten) {
    ScannedRun run;
    const std::string split = "--separator change=area:" + kNumberArea + " ";
    const TempFolder out;
    const CommandResult missing = Tessera(run.config, "split --reset -o " + ShellQuote(out.Path()) + " " + split +
                                                          "--ocr-lang eng+xyz " + ShellQuote(run.input) + " 2>&1");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("install the Debian package tesseract-ocr-xyz"), std::string::npos) << missing.output;
    for (const std::string bad : {"--ocr never --ocr-layer", "--ocr-lang ../eng", "--ocr-dpi 20", "--ocr sometimes"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Tessera(run.config, "split --reset -o " + ShellQuote(out.Path()) + " " + split + bad + " " +
                                          ShellQuote(run.input) + " 2>/dev/null")
                      .status,
                  2);
    }
    // Nor is such a setup saved as a profile, to fail later in a batch.
    const std::string profile = out.Path() + "/ocr.tpr";
    EXPECT_EQ(Tessera(run.config, "split --reset --save-profile " + ShellQuote(profile) + " " + split +
                                      "--ocr-lang eng+xyz " + ShellQuote(run.input) + " 2>/dev/null")
                  .status,
              2);
    EXPECT_TRUE(fs::is_empty(out.Path())) << "nothing written";
}

// A picture that cannot be decoded in full is not read, and said once; the
// other pages are read, with the same plan on one process and on two.
TEST(ComparedRunsTest, AnUnreadableScanIsSaidAndWorkersReadItAsOneProcessDoes) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    ScannedRun run({}, 4);
    {
        QPDF pdf;
        pdf.processFile(run.input.c_str());
        QPDFObjectHandle image = QPDFPageDocumentHelper(pdf)
                                     .getAllPages()
                                     .at(5)
                                     .getObjectHandle()
                                     .getKey("/Resources")
                                     .getKey("/XObject")
                                     .getKey("/Im0");
        const std::string stored =
            image.getRawStreamData()->getSize()
                ? std::string(reinterpret_cast<const char*>(image.getRawStreamData()->getBuffer()),
                              image.getRawStreamData()->getSize() / 3)
                : std::string();
        image.replaceStreamData(stored, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
        QPDFWriter writer(pdf, (run.input + ".cut.pdf").c_str());
        writer.write();
    }
    fs::rename(run.input + ".cut.pdf", run.input);
    const std::string options = "--separator change=area:" + kNumberArea + " --jobs ";
    const CommandResult one = run.Plan(options + "1 2>&1"), two = run.Plan(options + "2 2>&1");
    EXPECT_EQ(Column(one, 2), Column(two, 2));
    EXPECT_EQ(Column(one, 3), Column(two, 3));
    EXPECT_NE(Column(one, 3).find("INVOICE No 1001|INVOICE No 1002|INVOICE No 1003"), std::string::npos) << one.output;
    const std::regex said("page 6");
    EXPECT_EQ(std::distance(std::sregex_iterator(one.output.begin(), one.output.end(), said), std::sregex_iterator()),
              1)
        << one.output;
}

}  // namespace
}  // namespace tessera::test
