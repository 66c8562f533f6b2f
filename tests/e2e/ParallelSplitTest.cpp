// Outputs written by worker processes (--jobs 2) against the same run written
// one after the other (--jobs 1): the same files, pages, bytes and report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file below folder, by relative name; a PDF without its document ID,
// which is made anew for each file written.
std::map<std::string, std::string> Contents(const std::string& folder) {
    static const std::regex id(R"(/ID \[<[0-9a-f]*><[0-9a-f]*>\])");
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        files[name] = entry.is_regular_file() ? std::regex_replace(Bytes(entry.path()), id, "") : "(folder)";
    }
    return files;
}

struct JobsRun {
    CommandResult result;
    TempFolder out;
};

void SplitWithJobs(JobsRun& run, const TempFolder& config, const std::string& arguments, int jobs) {
    run.result = Tessera(config, "split --reset --prefix none -o " + ShellQuote(run.out.Path()) + " --jobs " +
                                     std::to_string(jobs) + " " + arguments + " 2>&1");
}

void ExpectSameRuns(JobsRun& one, JobsRun& two) {
    EXPECT_EQ(two.result.status, one.result.status);
    // The report names the output folder, which differs.
    EXPECT_EQ(std::regex_replace(two.result.output, std::regex(two.out.Path()), "OUT"),
              std::regex_replace(one.result.output, std::regex(one.out.Path()), "OUT"));
    const auto inOrder = Contents(one.out.Path()), spread = Contents(two.out.Path());
    ASSERT_EQ(spread.size(), inOrder.size());
    for (const auto& [name, bytes] : inOrder) {
        ASSERT_TRUE(spread.count(name)) << name;
        EXPECT_TRUE(spread.at(name) == bytes) << name << " differs beyond its document ID";
        if (name.ends_with(".pdf") && bytes != "(folder)") {
            EXPECT_EQ(PageTexts(two.out / name), PageTexts(one.out / name)) << name;
        }
    }
}

TEST(ParallelSplitTest, TwoJobsWriteWhatOneJobWritesForEverySplitMethod) {
    const char* runs[] = {
        "--equal 4 --watermark Draft --suffix text --name-area 0,0,600,80 mnras-guide-2col-rotated-page.pdf",
        "--bookmarks 1-2 --update-links --transfer-bookmarks --html-index hyperref-manual-outline-gotor-launch-named.pdf",
        "--separator blank abntex2-thesis-blank-versos-outline-depth6.pdf",
        "--separator text=CHAPTER ndsu-thesis-outline-depth12-out-of-order-rotated.pdf",
        "--doc Front=1-3 --doc Back=z-4 --doc Odd=1-z:odd ndsu-thesis-outline-depth12-out-of-order-rotated.pdf",
    };
    TempFolder config;
    for (const std::string arguments : runs) {
        SCOPED_TRACE(arguments);
        const std::size_t file = arguments.rfind(' ') + 1;
        const std::string command = arguments.substr(0, file) + Data(arguments.substr(file));
        JobsRun one, two;
        SplitWithJobs(one, config, command, 1);
        SplitWithJobs(two, config, command, 2);
        ASSERT_EQ(one.result.status, 0) << one.result.output;
        ExpectSameRuns(one, two);
        // A dry run counts pages with the text reader; it plans what was written.
        const CommandResult dry = Tessera(config, "split --reset --prefix none --dry-run -o " +
                                                      ShellQuote(one.out.Path()) + " " + command);
        for (const auto& [name, bytes] : Contents(one.out.Path())) {
            if (!name.ends_with(".pdf")) continue;
            EXPECT_NE(dry.output.find("\t" + name + "\t"), std::string::npos) << name;
        }
    }
}

TEST(ParallelSplitTest, AFailingOutputStopsAParallelRunAsItStopsOneInOrder) {
    // Output 3 cannot take the place of a folder: outputs 1 and 2 stay, and
    // whatever a worker wrote after it is removed again.
    TempFolder config;
    JobsRun one, two;
    for (JobsRun* run : {&one, &two}) {
        fs::create_directory(run->out / "Doc3.pdf");
        std::ofstream(run->out / "Doc3.pdf/kept");
    }
    SplitWithJobs(one, config, "--equal 1 " + Data("mnras-guide-2col-rotated-page.pdf"), 1);
    SplitWithJobs(two, config, "--equal 1 " + Data("mnras-guide-2col-rotated-page.pdf"), 2);
    EXPECT_EQ(one.result.status, 1);
    EXPECT_NE(one.result.output.find("Doc3.pdf: Is a directory"), std::string::npos) << one.result.output;
    ExpectSameRuns(one, two);
    EXPECT_EQ(Contents(two.out.Path()).size(), 4u) << "Doc1.pdf, Doc2.pdf and the folder with its file";
}

TEST(ParallelSplitTest, FilesThatLaterOutputsWouldReplaceOutliveAFailure) {
    // The big first output fails at its last step while the small ones after
    // it are long written: a run in order never got to the files they replace.
    TempFolder config;
    JobsRun one, two;
    for (JobsRun* run : {&one, &two}) {
        fs::create_directory(run->out / "DOCBIG.pdf");
        for (const char* name : {"DOCA.pdf", "DOCB.pdf", "DOCC.pdf"}) std::ofstream(run->out / name) << "earlier";
    }
    const std::string command = "--doc Big=1-175 --doc A=1 --doc B=2 --doc C=3 " + Data("ctex-manual-chinese.pdf");
    SplitWithJobs(one, config, command, 1);
    SplitWithJobs(two, config, command, 2);
    EXPECT_EQ(one.result.status, 1) << one.result.output;
    ExpectSameRuns(one, two);
    for (const char* name : {"DOCA.pdf", "DOCB.pdf", "DOCC.pdf"}) EXPECT_EQ(Bytes(two.out / name), "earlier") << name;
}

// Damages page 40 of a file whose objects are all stored uncompressed: a
// content stream that is not deflated, a cross-reference entry that misses
// its object (qpdf mends it when it first reads the page), content in an
// object the file lacks.
const char* kDamage = R"(
import re, subprocess, sys
mode, qdf, out = sys.argv[1:]
b = open(qdf, "rb").read()
c = b.index(b"%% Contents for page 40\n")
if mode == "inflate":
    bad = b"<< /Filter /FlateDecode /Length 0 >>\nstream\nnot deflated\n"
    b = b[:b.index(b"<<", c)] + bad + b[b.index(b"endstream", c):]
if mode == "missing":
    b = re.sub(rb"(%% Page 40\n(?:.*\n)*?  /Contents )\d+", rb"\g<1>99999", b, count=1)
open(qdf, "wb").write(b)
b = subprocess.run(["fix-qdf", qdf], capture_output=True, check=True).stdout
if mode == "xref":
    n = int(re.search(rb"%% Contents for page 40\n(?:%.*\n)*(\d+) 0 obj", b).group(1))
    row = b.index(b"\n", b.rindex(b"\nxref\n") + 6) + 1 + 20 * n
    b = b[:row + 5] + bytes([b[row + 5] ^ 1]) + b[row + 6:]
open(out, "wb").write(b)
)";

TEST(ParallelSplitTest, ADamagedPageIsKeptAndNamedAlikeByAScanInOrderAndInWorkers) {
    for (const char* damage : {"inflate", "xref", "missing"}) {
        SCOPED_TRACE(damage);
        TempFolder work, config;
        const std::string qdf = work / "work.qdf", damaged = work / "damaged.pdf";
        const CommandResult made = RunCommand(
            "qpdf --qdf --object-streams=disable " + Data("abntex2-thesis-blank-versos-outline-depth6.pdf") + " " +
            ShellQuote(qdf) + " && python3 -c " + ShellQuote(kDamage) + " " + damage + " " + ShellQuote(qdf) + " " +
            ShellQuote(damaged));
        ASSERT_EQ(made.status, 0) << made.output;
        std::string reports[2];
        for (int jobs : {1, 2}) {
            reports[jobs - 1] = Tessera(config, "split --reset --dry-run --separator blank --jobs " +
                                                    std::to_string(jobs) + " " + ShellQuote(damaged) + " 2>&1").output;
            EXPECT_NE(reports[jobs - 1].find("Page 40 could not be read in full"), std::string::npos)
                << reports[jobs - 1];
        }
        EXPECT_EQ(reports[1], reports[0]);
    }
}

// qpdf's copy of a page recurses once per level of nesting; 15,000 forms
// overflow its stack, 4,000 already pass the limit.
TEST(ParallelSplitTest, FormsNestedBeyondWhatCanBeCopiedAreRefusedNotCrashing) {
    TempFolder work, config;
    const std::string raw = work / "raw.pdf", nested = work / "nested.pdf";
    const CommandResult made = RunCommand("python3 -c " + ShellQuote(R"(
import sys
o = [b"<</Type/Catalog/Pages 2 0 R>>", b"<</Type/Pages/Kids[3 0 R 4 0 R]/Count 2>>"]
o += [b"<</Type/Page/Parent 2 0 R/MediaBox[0 0 9 9]/Resources<</XObject<</X 5 0 R>>>>/Contents 5 0 R>>"] * 2
o += [b"<</Subtype/Form/BBox[0 0 9 9]/Resources<</XObject<</X %d 0 R>>>>/Length 5>>stream\n/X Do\nendstream" % (k + 6)
      for k in range(4000)]
body = b"".join(b"%d 0 obj\n%s\nendobj\n" % (k + 1, x) for k, x in enumerate(o))
sys.stdout.buffer.write(b"%PDF-1.4\n" + body + b"trailer<</Size %d/Root 1 0 R>>\n" % (len(o) + 1))
)") + " > " + ShellQuote(raw) + "; qpdf " + ShellQuote(raw) + " " + ShellQuote(nested) + "; test $? != 2");
    ASSERT_EQ(made.status, 0) << made.output;
    JobsRun one, two;
    SplitWithJobs(one, config, "--equal 1 " + ShellQuote(nested), 1);
    SplitWithJobs(two, config, "--equal 1 " + ShellQuote(nested), 2);
    EXPECT_EQ(one.result.status, 1) << one.result.output;
    EXPECT_NE(one.result.output.find("page 1 nests objects more than"), std::string::npos) << one.result.output;
    ExpectSameRuns(one, two);
    for (const char* scan : {"--separator scan", "--doc @transparency"})
        EXPECT_EQ(Tessera(config, "split --reset --dry-run " + std::string(scan) + " " + ShellQuote(nested)).status, 0);
}

}  // namespace
}  // namespace tessera::test
