// Runs that cannot finish: they say why, keep every output finished before,
// leave no part of one, and never write over a file they were not let replace;
// worker processes stop as a run in order does.
#include <sys/mount.h>

#include <fstream>

using namespace tessera::test;

// A profile never replaces the input, and another file only when the user says
// so; an index that cannot be written fails the run before any output is.
TEST(FailedRunTest, NothingIsWrittenOverUnaskedOrBeforeWhatStandsInTheWayIsFound) {
    TempFolder config, own;
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), own / "in.pdf");
    const std::string pdf = ReadFile(own / "in.pdf"), source = ShellQuote(own / "in.pdf");
    const std::string overInput = "split --equal 2 " + source + " --save-profile " + source;
    EXPECT_EQ(Tessera(config, overInput + " 2>&1").status, 1);
    EXPECT_EQ(Tessera(config, overInput + " --yes 2>&1").status, 1);
    EXPECT_EQ(ReadFile(own / "in.pdf"), pdf);
    std::ofstream(own / "old.tpr") << "kept";
    const std::string overOther = "split --equal 2 " + source + " --save-profile " + ShellQuote(own / "old.tpr");
    const CommandResult asked = Tessera(config, overOther + " </dev/null 2>&1");
    EXPECT_EQ(asked.status, 1);
    EXPECT_NE(asked.output.find("--yes"), std::string::npos) << asked.output;
    EXPECT_EQ(ReadFile(own / "old.tpr"), "kept");
    EXPECT_EQ(Tessera(config, overOther + " --yes").status, 0);
    EXPECT_NE(ReadFile(own / "old.tpr"), "kept");

    fs::create_directory(own / "in_index.htm");
    const CommandResult index = Split(config, own.Path(), "--equal 1 --html-index " + source + " 2>&1");
    EXPECT_EQ(index.status, 1) << index.output;
    EXPECT_NE(index.output.find("The HTML index could not be written"), std::string::npos) << index.output;
    EXPECT_EQ(NamesIn(own.Path()), (std::vector<std::string>{"in.pdf", "in_index.htm", "old.tpr"}));
}

TEST(FailedRunTest, AFailingOutputStopsWorkersAsARunInOrderAndWhatLaterOutputsWouldReplaceStays) {
    const struct {
        const char* name;
        const char* folder;  // where an output must go: it cannot replace a folder
        std::vector<const char*> earlier;
        std::string arguments;
        const char* says;
        int status;  // 4 when outputs before the failure stay, 1 when none does
    } rows[] = {
        // Outputs 1 and 2 stay; whatever a worker wrote after output 3 is removed again.
        {"a small output fails",
         "Doc3.pdf",
         {"Doc3.pdf/kept"},
         "--equal 1 " + Data("mnras-guide-2col-rotated-page.pdf"),
         "Doc3.pdf: Is a directory",
         4},
        // The big first output fails at its last step while the small ones after
        // it are long written: a run in order never got to the files they replace.
        {"a big output fails after the small ones",
         "DOCBIG.pdf",
         {"DOCA.pdf", "DOCB.pdf", "DOCC.pdf"},
         "--doc Big=1-175 --doc A=1 --doc B=2 --doc C=3 " + Data("ctex-manual-chinese.pdf"),
         "DOCBIG.pdf: Is a directory",
         1},
    };
    TempFolder config;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        JobsRun one, two;
        for (JobsRun* run : {&one, &two}) {
            fs::create_directory(run->out / row.folder);
            for (const char* name : row.earlier) std::ofstream(run->out / name) << "earlier";
        }
        SplitWithJobs(one, config, row.arguments, 1);
        SplitWithJobs(two, config, row.arguments, 2);
        EXPECT_EQ(one.result.status, row.status);
        EXPECT_NE(one.result.output.find(row.says), std::string::npos) << one.result.output;
        ExpectSameRuns(one, two);
        for (const char* name : row.earlier) EXPECT_EQ(ReadFile(two.out / name), "earlier") << name;
    }
}

TEST(FailedRunTest, AFullDiskStopsAtTheOutputThatFailedAndLeavesNoPart) {
    TempFolder config, small, capped;
    // A file size limit fails the write as a full disk does, rather than
    // ending the program with its temporary file left.
    const CommandResult limited =
        RunCommand("ulimit -f 200; XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
                   " split --reset --prefix none --equal 20 -o " + ShellQuote(capped.Path()) + " " +
                   Data("ctex-manual-chinese.pdf") + " 2>&1");
    EXPECT_TRUE(limited.status == 1 || limited.status == 4) << limited.status << limited.output;
    EXPECT_NE(limited.output.find("File too large"), std::string::npos) << limited.output;
    for (const std::string& f : FilesBelow(capped.Path())) {
        EXPECT_EQ(f.find(".tessera-"), std::string::npos) << f;
        EXPECT_TRUE(QpdfCheckPasses(capped / f)) << f;
    }
    if (::mount("tmpfs", small.Path().c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "skipped: a small file system cannot be mounted here (it needs root)";
    const CommandResult r = Tessera(config, "split --reset --prefix none --equal 1 -o " + ShellQuote(small.Path()) +
                                                " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    const auto files = FilesBelow(small.Path());
    for (const std::string& f : files) EXPECT_TRUE(QpdfCheckPasses(small / f)) << f;
    // Standard input copied to a full disk: the JSON report says so.
    const CommandResult stdinRun =
        RunCommand("TMPDIR=" + ShellQuote(small.Path()) + " " + ShellQuote(TESSERA_EXE) +
                   " split --json --equal 1 - 2>/dev/null <" + Data("ctex-manual-chinese.pdf"));
    EXPECT_EQ(stdinRun.status, 1);
    EXPECT_EQ(SchemaComplaints(stdinRun.output), "");
    EXPECT_NE(stdinRun.output.find("could not be kept"), std::string::npos) << stdinRun.output;
    ::umount(small.Path().c_str());
    EXPECT_EQ(r.status, files.empty() ? 1 : 4);
    EXPECT_NE(r.output.find("Doc" + std::to_string(files.size() + 1) + ".pdf: No space left on device"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(files.size(), 1u) << "the first output fits, the second does not";
}

TEST(FailedRunTest, AnInterruptedRunRemovesItsTemporaryFileAndSaysWhatWasFinished) {
    TempFolder config;
    const std::string tessera = "XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
                                " split --reset --quiet --prefix none ";
    // Stopped as soon as the first output is there, in the middle of a run of
    // 175, in order and with writer processes: the report, and the JSON
    // report on stdout, count every output that is on disk.
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        TempFolder folder, json;
        const CommandResult r =
            RunCommand(tessera + "--json --jobs " + jobs + " --equal 1 -o " + ShellQuote(folder.Path()) + " " +
                       Data("ctex-manual-chinese.pdf") + " 2>&1 >" + ShellQuote(json / "report.json") +
                       " & pid=$!; until ls " + ShellQuote(folder.Path()) +
                       " | grep -q pdf; do sleep 0.01; done; kill -TERM $pid; wait $pid; echo \"status $?\"");
        ASSERT_EQ(r.output.find("status 0"), std::string::npos) << "the run ended before the signal";
        EXPECT_NE(r.output.find("status 143"), std::string::npos) << r.output;
        const auto files = FilesBelow(folder.Path());
        for (const std::string& f : files) EXPECT_TRUE(f.ends_with(".pdf") && QpdfCheckPasses(folder / f)) << f;
        EXPECT_NE(r.output.find("tessera: interrupted"), std::string::npos) << r.output;
        const std::string count =
            files.size() == 1 ? "1 output was finished: " : std::to_string(files.size()) + " outputs were finished";
        EXPECT_NE(r.output.find(count), std::string::npos) << r.output;
        const std::string report = ReadFile(json / "report.json");
        EXPECT_EQ(SchemaComplaints(report), "");
        const nlohmann::json parsed = nlohmann::json::parse(report, nullptr, false);
        std::set<std::string> listed;
        for (const nlohmann::json& output : parsed.value("outputs", nlohmann::json::array()))
            listed.insert(std::filesystem::path(output.value("path", "")).filename().string());
        EXPECT_EQ(listed, std::set<std::string>(files.begin(), files.end())) << report;
        EXPECT_EQ(parsed.value("outcome", ""), "interrupted");
        EXPECT_EQ(parsed.value("exit_status", 0), 143);
    }
    // A scan of the pages stopped before any output is written: one that draws every page, long enough to stop.
    const CommandResult scan =
        RunCommand(tessera + "--dry-run --jobs 1 --separator code " + Data("ctex-manual-chinese.pdf") +
                   " 2>&1 & pid=$!; sleep 0.5; kill -TERM $pid; wait $pid; echo \"status $?\"");
    ASSERT_EQ(scan.output.find("status 0"), std::string::npos) << "the scan ended before the signal";
    EXPECT_NE(scan.output.find("tessera: interrupted. No output was finished.\nstatus 143"), std::string::npos)
        << scan.output;
}

// Damages page 40 of a file whose objects are all stored uncompressed: a
// content stream that is not deflated, a cross-reference entry that misses
// its object (qpdf mends it when it first reads the page), content in an
// object the file lacks.
constexpr const char* kDamage = R"(
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

TEST(FailedRunTest, ADamagedPageIsKeptAndNamedAlikeByAScanInOrderAndInWorkers) {
    for (const char* damage : {"inflate", "xref", "missing"}) {
        SCOPED_TRACE(damage);
        TempFolder work, config;
        const std::string qdf = work / "work.qdf", damaged = work / "damaged.pdf";
        const CommandResult made =
            RunCommand("qpdf --qdf --object-streams=disable " + Data("abntex2-thesis-blank-versos-outline-depth6.pdf") +
                       " " + ShellQuote(qdf) + " && python3 -c " + ShellQuote(kDamage) + " " + damage + " " +
                       ShellQuote(qdf) + " " + ShellQuote(damaged));
        ASSERT_EQ(made.status, 0) << made.output;
        const auto report = [&](const char* jobs) {
            return Tessera(config, "split --reset --dry-run --separator blank --jobs " + std::string(jobs) + " " +
                                       ShellQuote(damaged) + " 2>&1")
                .output;
        };
        const std::string inOrder = report("1");
        EXPECT_NE(inOrder.find("Page 40 could not be read in full"), std::string::npos) << inOrder;
        EXPECT_EQ(report("2"), inOrder);
    }
}

// qpdf's copy of a page recurses once per level of nesting; 15,000 forms
// overflow its stack, 4,000 already pass the limit.
TEST(FailedRunTest, FormsNestedBeyondWhatCanBeCopiedAreRefusedNotCrashing) {
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
)") + " > " + ShellQuote(raw) + "; qpdf " +
                                          ShellQuote(raw) + " " + ShellQuote(nested) + "; test $? != 2");
    ASSERT_EQ(made.status, 0) << made.output;
    JobsRun one, two;
    SplitWithJobs(one, config, "--equal 1 " + ShellQuote(nested), 1);
    SplitWithJobs(two, config, "--equal 1 " + ShellQuote(nested), 2);
    EXPECT_EQ(one.result.status, 1) << one.result.output;
    EXPECT_NE(one.result.output.find("page 1 nests objects more than"), std::string::npos) << one.result.output;
    ExpectSameRuns(one, two);
    // Neither finds a page: no separator, an output without pages; both said.
    for (const char* scan : {"--separator scan", "--doc @transparency"})
        EXPECT_EQ(Tessera(config, "split --reset --dry-run " + std::string(scan) + " " + ShellQuote(nested)).status, 3);

    // Page 1 alone copies: its output is written, stays and is reported, and
    // the run is partly done, in workers as in order.
    const std::string later = work / "later.pdf";
    ASSERT_EQ(RunCommand("qpdf --empty --pages " + Data("multicolumn-latex-2col.pdf") + " 1 " + ShellQuote(nested) +
                         " 2 -- " + ShellQuote(later))
                  .status,
              0);
    for (const int jobs : {1, 2}) {
        SCOPED_TRACE(jobs);
        JobsRun run;
        SplitWithJobs(run, config, "--json --equal 1 " + ShellQuote(later), jobs);
        EXPECT_EQ(run.result.status, 4) << run.result.output;
        EXPECT_EQ(FilesBelow(run.out.Path()), std::vector<std::string>{"Doc1.pdf"});
        const std::string json = run.result.output.substr(run.result.output.find('{'));
        const nlohmann::json outputs = nlohmann::json::parse(json)["outputs"];
        ASSERT_EQ(outputs.size(), 2u) << json;
        EXPECT_EQ(outputs[0]["status"], "written");
        EXPECT_EQ(outputs[1]["status"], "failed");
    }
}
