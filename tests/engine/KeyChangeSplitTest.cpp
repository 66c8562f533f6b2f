// Cutting where a page's value changes: the values of pages, pages without
// one, values seen again, and the names the values give.
#include "engine/KeyChangeSplit.h"
#include "engine/OutputNaming.h"
#include "engine/OutputPlanner.h"
#include "reading/PageKeyReader.h"
#include "support/PdfFixture.h"

namespace tessera {
namespace {

// Keys as letters, "-" for a page without one; outputs as "key:pages".
std::string Cut(const std::string& letters, KeyChangeRules rules = {}) {
    std::vector<std::optional<std::string>> keys;
    for (const char c : letters)
        keys.push_back(c == '-' ? std::nullopt : std::optional<std::string>(std::string(1, c)));
    std::string out;
    for (const KeyedPages& o : SplitAtKeyChanges(keys, rules)) {
        out += (out.empty() ? "" : " ") + o.key + ":";
        for (const int p : o.pages) out += std::to_string(p + 1);
    }
    return out;
}

TEST(KeyChangeSplitTest, OutputsStartWhereTheKeyChangesAsTheRulesSay) {
    EXPECT_EQ(Cut("AAABBC"), "A:123 B:45 C:6");
    EXPECT_EQ(Cut("A--B-"), "A:123 B:45") << "the key only on each document's first page";
    EXPECT_EQ(Cut("--AB"), ":12 A:3 B:4") << "a cover belongs to no key";
    EXPECT_EQ(Cut("A--B-", {.missingStartsNew = true}), "A:1 :23 B:4 :5");
    EXPECT_EQ(Cut("AABAA"), "A:12 B:3 A:45") << "a key seen again starts an output";
    EXPECT_EQ(Cut("AAB-A-", {.groupSameKey = true}), "A:1256 B:34");
    EXPECT_EQ(Cut(""), "");
}

// A print run of 12 invoices of 1 to 6 pages (40 pages): the number in the
// header of every page, only on each first page, or an address block of two
// lines on each first page and nothing there on the others.
TEST(KeyChangeSplitTest, APrintRunOfInvoicesSplitsIntoItsInvoicesHoweverTheirNumberIsPrinted) {
    const int sizes[] = {3, 1, 6, 4, 2, 5, 3, 4, 2, 5, 1, 4};
    std::vector<std::string> every, first, address;
    std::string truth;  // "INV-1001.pdf:1 INV-1002.pdf:4 ..."
    for (int i = 0, page = 1; i < 12; page += sizes[i++]) {
        const std::string number = std::to_string(1001 + i);
        truth += "INV-" + number + ".pdf:" + std::to_string(page) + " ";
        for (int p = 0; p < sizes[i]; ++p) {
            every.push_back("ACME Invoice No. " + number + "\nPage " + std::to_string(p + 1) + "\nAmount due");
            first.push_back((p ? "ACME" : "ACME Invoice No. " + number) + "\nAmount due");
            address.push_back((p ? "\n" : "Customer " + number + "\nStreet " + number) + "\nAmount due " + number);
        }
    }
    test::TestHost host;
    const auto split = [&](const std::vector<std::string>& pages, ChangeKeyKind kind) {
        test::PdfFixture(pages).Write(host.folder / "run.pdf");
        const DocumentHandle doc(host.OpenActive(host.folder / "run.pdf"), DocumentHandle::Ownership::Borrowed);
        SplitSettings s;
        s.SplitMode = SplitMethod::SeparatorPages;
        s.Output.SeparatorType = SeparatorKind::ValueChange;
        s.Output.ChangeKey = kind;
        s.Output.SeparatorQuery.Pattern = R"(Invoice No\. (\d+))";
        // The first two lines of a page, from 72 points down.
        s.Output.SeparatorQuery.Area = {Fixed16::FromRealRounded(0), Fixed16::FromRealRounded(72),
                                        Fixed16::FromRealRounded(612), Fixed16::FromRealRounded(101)};
        s.Output.SeparatorQuery.UseAreaFilter = kind == ChangeKeyKind::AreaText;
        s.Filename.FileNameConstructionMode = NameConstructionMode::UseTemplate;
        s.Filename.NameTemplate = "INV-{1}";
        s.Filename.NamePattern = R"((?:No\.|Street) (\d+))";
        EXPECT_TRUE(PlanOutputs(s, doc));
        std::string out;
        const std::vector<IndexEntry> names = NameOutputs(s, doc, std::tm{});
        for (std::size_t i = 0; i < names.size(); ++i)
            out += names[i].file + ":" + std::to_string(s.Outputs[i].Ranges[0].FirstPage + 1) + " ";
        return out;
    };
    EXPECT_EQ(split(every, ChangeKeyKind::PatternMatch), truth);
    EXPECT_EQ(split(first, ChangeKeyKind::PatternMatch), truth);
    EXPECT_EQ(split(address, ChangeKeyKind::AreaText), truth);
}

TEST(KeyChangeSplitTest, PagesOfAMailMergeGoToTheOutputOfTheirValueAndNameIt) {
    test::TestHost host;
    test::PdfFixture({"Invoice No. 1001 for Acme", "page 2", "Invoice No. 1002 for Bolt", "Invoice No. 1001 for Acme",
                      "Invoice   No.  1003 for Crane"})
        .Write(host.folder / "merge.pdf");
    const DocumentHandle doc(host.OpenActive(host.folder / "merge.pdf"), DocumentHandle::Ownership::Borrowed);
    SplitSettings s;
    s.SplitMode = SplitMethod::SeparatorPages;
    s.Output.SeparatorType = SeparatorKind::ValueChange;
    s.Output.ChangeKey = ChangeKeyKind::PatternMatch;
    s.Output.SeparatorQuery.Pattern = R"(Invoice\s+No\.\s+(\d+) for (?<firm>\w+))";
    s.Filename.FileNameConstructionMode = NameConstructionMode::UseTemplate;
    s.Filename.NameTemplate = "{1}-{firm} {key}";
    const auto names = [&] {
        std::string out;
        EXPECT_TRUE(PlanOutputs(s, doc));
        for (const IndexEntry& e : NameOutputs(s, doc, std::tm{})) out += (out.empty() ? "" : " | ") + e.file;
        for (const OutputDocument& o : s.Outputs) out += " " + PageSpanName(o);
        return out;
    };
    EXPECT_EQ(names(),
              "1001-Acme 1001 Acme.pdf | 1002-Bolt 1002 Bolt.pdf | 1001-Acme 1001 Acme_1.pdf | "
              "1003-Crane 1003 Crane.pdf From_1_To_2 From_3_To_3 From_4_To_4 From_5_To_5");
    s.Output.GroupSameKey = true;
    EXPECT_EQ(names().substr(0, 28), "1001-Acme 1001 Acme.pdf | 10");
    EXPECT_EQ(s.Outputs[0].Ranges.size(), 2u) << "pages 1-2 and 4";

    // The page label's prefix and the page's size as shown.
    EXPECT_EQ(LabelPrefix("A-12") + " " + LabelPrefix("iv") + " " + LabelPrefix("XI") + " " + LabelPrefix("Cover"),
              "A-#1 #i #I Cover");
    // What OCR varies around a value does not make another.
    for (const char* read : {"No. 1003", "No.1003", " No 1003 ", "No:  1003.", "\u201CNo. 1003\u201D", "|No 1003"})
        EXPECT_EQ(OcrSteadied(read), "No 1003") << read;
    EXPECT_EQ(OcrSteadied("INV-1003 / 2"), "INV-1003 / 2") << "hyphens and slashes are print";
    // A crop box is what shows: a letter page cropped to A5 is A5, turned too.
    test::PdfFixture sizes(4);
    std::vector<QPDFObjectHandle> pages = sizes.Qpdf().getAllPages();
    pages[1].replaceKey("/MediaBox", QPDFObjectHandle::parse("[ 0 0 842 595 ]"));
    pages[2].replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
    pages[3].replaceKey("/CropBox", QPDFObjectHandle::parse("[ 10 20 430 615 ]"));
    pages[3].replaceKey("/Rotate", QPDFObjectHandle::newInteger(270));
    sizes.Write(host.folder / "sizes.pdf");
    const DocumentHandle shown(host.OpenActive(host.folder / "sizes.pdf"), DocumentHandle::Ownership::Borrowed);
    PageKeyReader size(shown, ChangeKeyKind::PageSize, s.Output.SeparatorQuery, s.Output.Ocr);
    std::string keys;
    for (int page = 0; page < 4; ++page) keys += size.Read(page)->numbered[0] + " ";
    EXPECT_EQ(keys, "612x792 842x595 792x612 595x420 ");
}

}  // namespace
}  // namespace tessera
