// Outputs no larger than a size: every file within it on disk, and none that
// could have taken its next page, whether the size is the method or a limit
// on another; a page that alone is larger stops the run before it writes.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

const std::string kManual = "hyperref-manual-outline-gotor-launch-named.pdf";

std::uintmax_t Bytes(const std::string& file) { return fs::file_size(file); }

// Each planned output's file, and its one run of pages ("12-27").
std::vector<std::pair<std::string, std::string>> Written(const CommandResult& plan, const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& line : PlanLines(plan.output)) files.emplace_back(folder + "/" + line.at(1), line.at(2));
    return files;
}

// Every output of the split of `input` fits `limit`, and none of those in
// the middle `checked` could have taken its next page: written with it, as the
// split writes, it is over.
void ExpectFitsAndNoneCouldTakeMore(const std::string& input, std::uintmax_t limit, const std::string& others,
                                    std::size_t checked = 1000) {
    TempFolder config, folder, probe;
    const std::string options = "--max-size " + std::to_string(limit) + " " + others;
    const CommandResult plan = Tessera(config, "split --reset --prefix none --dry-run " + options + " " + input);
    ASSERT_EQ(Split(config, folder.Path(), options + " " + input).status, 0);
    const auto files = Written(plan, folder.Path());
    ASSERT_GT(files.size(), 3u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].second);
        EXPECT_LE(Bytes(files[i].first), limit);
        EXPECT_EQ(RunCommand("qpdf --check " + ShellQuote(files[i].first) + " >/dev/null").status, 0);
        if (i + 1 == files.size() || 2 * i + checked < files.size() || 2 * i > files.size() + checked) continue;
        const std::vector<int> pages = RunPages(files[i].second);
        const std::string more = std::to_string(pages.front()) + "-" + std::to_string(pages.back() + 1);
        ASSERT_EQ(Split(config, probe.Path(), others + " --doc " + more + " " + input).status, 0);
        EXPECT_GT(Bytes(probe / "Doc1.pdf"), limit);
        fs::remove(probe / "Doc1.pdf");
    }
}

// 150 pages of a kilobyte of text each, uncompressed, all in one font.
constexpr const char* kManyPages = R"(
import random, sys
random.seed(7)
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", None, b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
kids = []
for page in range(150):
    text = "".join(random.choice("abcdefghijklmnopqrstuvwxyz ") for _ in range(1000)).encode()
    content = b"BT /F1 6 Tf 20 700 Td (" + text + b") Tj ET"
    objects.append(b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream")
    objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> "
                   b"/Contents %d 0 R >>" % len(objects))
    kids.append(b"%d 0 R" % len(objects))
objects[1] = b"<< /Type /Pages /Kids [" + b" ".join(kids) + b"] /Count %d >>" % len(kids)
out, offsets = b"%PDF-1.4\n", []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1) + b"".join(b"%010d 00000 n \n" % o for o in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(sys.argv[1], "wb").write(out)
)";

std::string ManyPages(const TempFolder& work) {
    const std::string many = work / "many.pdf";
    EXPECT_EQ(RunCommand("python3 -c " + ShellQuote(kManyPages) + " " + ShellQuote(many)).status, 0);
    return ShellQuote(many);
}

TEST(SizeLimitTest, EveryOutputFitsAndNoneCouldHaveTakenItsNextPage) {
    ExpectFitsAndNoneCouldTakeMore(Data(kManual), 100000, "--linearize");
    {
        // An output is written as it was measured, the same file a split of its pages alone writes.
        TempFolder config, folder, alone;
        const std::string options = "--deterministic --watermark DRAFT --max-size 100k ";
        const CommandResult plan = Tessera(config, "split --reset --prefix none --dry-run " + options + Data(kManual));
        ASSERT_EQ(Split(config, folder.Path(), options + Data(kManual)).status, 0);
        const auto files = Written(plan, folder.Path());
        ASSERT_GT(files.size(), 2u);
        ASSERT_EQ(Split(config, alone.Path(),
                        "--deterministic --watermark DRAFT --doc " + files[1].second + " " + Data(kManual))
                      .status,
                  0);
        EXPECT_EQ(ReadFile(files[1].first), ReadFile(alone / "Doc1.pdf"));
    }
    // Thirty parts: cut from the first page and from the middle at once, and joined in the middle.
    TempFolder work;
    ExpectFitsAndNoneCouldTakeMore(ManyPages(work), 5000, "", 12);
}

TEST(SizeLimitTest, ALimitCutsAnotherMethodsOutputsIntoNumberedPartsAndLinksStayWithin) {
    TempFolder config, folder, work, many, whole, limited;
    // Outputs of some 38 parts each, cut in two workers, one after the other.
    ASSERT_EQ(Split(config, many.Path(), "--equal 75 --max-size 2500 " + ManyPages(work)).status, 0);
    EXPECT_GT(std::distance(fs::directory_iterator(many.Path()), {}), 60);
    for (const auto& file : fs::directory_iterator(many.Path())) EXPECT_LE(Bytes(file.path()), 2500u) << file.path();
    // An output that fits is written as the split without a limit writes it.
    const std::string docs = "--deterministic --watermark W --doc 1-z:odd --doc 20-1 " + Data(kManual);
    ASSERT_EQ(Split(config, whole.Path(), docs).status, 0);
    ASSERT_EQ(Split(config, limited.Path(), "--max-size 60MiB " + docs).status, 0);
    for (const char* name : {"Doc1.pdf", "Doc2.pdf"})
        EXPECT_EQ(ReadFile(whole / name), ReadFile(limited / name)) << name;
    // Every output carries the whole outline: its links to the others' files count.
    const std::string options =
        "--bookmarks 1 --max-size 120k --update-links --transfer-bookmarks --warning-exit-0 " + Data(kManual);
    const CommandResult plan = Tessera(config, "split --reset --prefix none --dry-run " + options);
    EXPECT_NE(plan.output.find("PACKAGE OPTIONS_1.pdf\t9-18"), std::string::npos) << plan.output;
    EXPECT_NE(plan.output.find("PACKAGE OPTIONS_2.pdf\t19-21"), std::string::npos) << plan.output;
    ASSERT_EQ(Split(config, folder.Path(), options).status, 0);
    for (const auto& [file, pages] : Written(plan, folder.Path())) EXPECT_LE(Bytes(file), 120000u) << file;
    EXPECT_NE(Tessera(config, "split --reset --dry-run --bookmarks 1 --max-size 100k --name '{n:0} {part}of{parts}' " +
                                  Data(kManual))
                  .output.find("05 1of2.pdf\t9-16"),
              std::string::npos);
    // Split by size, the outputs are the parts of the one document, numbered as outputs.
    const std::string bySize =
        "split --reset --dry-run --prefix none --max-size 250KB " + Data("mnras-guide-2col-rotated-page.pdf");
    EXPECT_EQ(Tessera(config, bySize + " --name '{part}of{parts}'").output, "1\t1of2.pdf\t1-6\n2\t2of2.pdf\t7-10\n");
    EXPECT_EQ(Tessera(config, bySize).output, "1\tDoc1.pdf\t1-6\n2\tDoc2.pdf\t7-10\n");
    // A names list names documents, and a template without {part} its
    // document: the parts of the fifth are _1 and _2 of its name.
    TempFolder lists;
    std::ofstream names(lists / "names.txt");
    for (int i = 1; i <= 15; ++i) names << "N" << i << "\n";
    names.close();
    const std::string cut = "split --reset --dry-run --prefix none --bookmarks 1 --max-size 100k " + Data(kManual);
    const CommandResult listed = Tessera(config, cut + " --names " + ShellQuote(lists / "names.txt"));
    EXPECT_EQ(listed.status, 3) << "the title pages are in no output";
    for (const char* part : {"\tN5_1.pdf\t9-16\n", "\tN5_2.pdf\t17-21\n", "\tN6_1.pdf\t"})
        EXPECT_NE(listed.output.find(part), std::string::npos) << part << listed.output;
    const std::string templated = Tessera(config, cut + " --name 'T-{n}'").output;
    for (const char* part : {"\tT-5_1.pdf\t9-16\n", "\tT-5_2.pdf\t"})
        EXPECT_NE(templated.find(part), std::string::npos) << part << templated;
}

TEST(SizeLimitTest, APageLargerThanTheLimitStopsTheRunBeforeItWritesUnlessAllowedAlone) {
    TempFolder config, folder, allowed;
    const CommandResult refused = Split(config, folder.Path(), "--max-size 60kB " + Data(kManual) + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("Page 1 takes 70,389 bytes"), std::string::npos) << refused.output;
    EXPECT_NE(refused.output.find("Nothing was written. --allow-oversize writes such a page"), std::string::npos)
        << refused.output;
    EXPECT_EQ(refused.output.find("stay in the output folder"), std::string::npos) << refused.output;
    EXPECT_TRUE(fs::is_empty(folder.Path()));
    const CommandResult alone =
        Split(config, allowed.Path(), "--max-size 0.08MB --allow-oversize " + Data(kManual) + " 2>&1");
    EXPECT_EQ(alone.status, 0);
    EXPECT_NE(alone.output.find("Page 4 takes 80,150 bytes (80.2 kB) on its own, more than the size limit of 80,000 "
                                "bytes (80 kB): it is written as a document of its own"),
              std::string::npos)
        << alone.output;
    EXPECT_EQ(QpdfJson(ShellQuote(allowed / "Doc3.pdf"), "--json-key=pages")["pages"].size(), 1u);
    for (const char* bad : {"10XB", "-5k", "0", "3GB", ""})
        EXPECT_EQ(
            Tessera(config, "split --reset --dry-run --max-size '" + std::string(bad) + "' " + Data(kManual)).status, 2)
            << bad;
}

}  // namespace
}  // namespace tessera::test
