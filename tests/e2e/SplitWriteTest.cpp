// The real program writing outputs, checked with qpdf and poppler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

class SplitWriteTest : public testing::Test {
protected:
    CommandResult Split(const std::string& file, const std::string& options) {
        return Tessera(config, "split --reset --quiet -o " + ShellQuote(out.Path()) + " " + options + " " + Data(file));
    }
    std::string Out(const std::string& name) const { return out / name; }
    TempFolder config, out;
};

TEST_F(SplitWriteTest, EveryOutputOfRealFilesIsValidAndHoldsThePlannedPages) {
    struct Case {
        const char* file;
        const char* options;
        std::size_t outputs;
    } cases[] = {{"hyperref-manual-outline-gotor-launch-named.pdf", "--bookmarks 1-2", 85},
                 {"mnras-guide-2col-rotated-page.pdf", "--equal 3", 4},
                 {"damaged-xref-outlines-labels-recoverable.pdf", "--bookmarks 1-4", 11},
                 {"acroform-fields-two-pages-mixed-annots.pdf", "--equal 1", 2}};
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string options = std::string(c.options) + " --prefix none --base Out";
        const auto plan = PlanLines(Tessera(config, "split --reset --dry-run -o " + ShellQuote(folder.Path()) + " " +
                                                        options + " " + Data(c.file))
                                        .output);
        ASSERT_EQ(Tessera(config, "split --reset --quiet -o " + ShellQuote(folder.Path()) + " " + options + " " +
                                      Data(c.file))
                      .status,
                  0)
            << c.file;
        ASSERT_EQ(plan.size(), c.outputs) << c.file;
        EXPECT_EQ(Files(folder.Path()).size(), c.outputs) << c.file;
        const auto source = PageTexts(std::string(TESSERA_TEST_DATA) + "/" + c.file);
        for (const auto& line : plan) {
            const std::string file = folder / line.at(1);
            EXPECT_TRUE(QpdfCheckPasses(file)) << file;
            // The pages' text tells which source pages arrived, in which order.
            std::vector<std::string> expected;
            std::string runs = line.at(2) + ",";
            for (std::size_t start = 0, comma; (comma = runs.find(',', start)) != std::string::npos; start = comma + 1) {
                const std::string run = runs.substr(start, comma - start);
                const std::size_t dash = run.find('-');
                const int a = std::stoi(run), b = dash == std::string::npos ? a : std::stoi(run.substr(dash + 1));
                for (int p = a; a <= b ? p <= b : p >= b; p += a <= b ? 1 : -1) expected.push_back(source.at(p - 1));
            }
            EXPECT_EQ(PageTexts(file), expected) << file;
        }
    }
}

TEST_F(SplitWriteTest, NamesFollowTheNamingOptions) {
    ASSERT_EQ(Split("damaged-xref-outlines-labels-recoverable.pdf", "--equal 1 --prefix none --base P --suffix letter").status, 0);
    const auto files = Files(out.Path());
    ASSERT_EQ(files.size(), 30u);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).count("PAA.pdf"), 1u);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).count("PDD.pdf"), 1u);

    TempFolder folders;
    ASSERT_EQ(Tessera(config, "split --reset --quiet --folders --prefix none --base '' --bookmarks 1-2 -o " +
                                  ShellQuote(folders.Path()) + " --html-index " +
                                  Data("mnras-guide-2col-rotated-page.pdf"))
                  .status,
              0);
    EXPECT_TRUE(fs::exists(folders / "TITLE PAGE/AUTHORS AND INSTITUTIONS.pdf"));
    EXPECT_TRUE(fs::exists(folders / "mnras-guide-2col-rotated-page_index.htm"));
}

TEST_F(SplitWriteTest, PermissionsPasswordAloneOpensWithoutPasswordButRestricts) {
    ASSERT_EQ(Split("multicolumn-latex-2col.pdf", "--equal 3 --prefix none --permissions-password owner --deny print,copy").status, 0);
    const std::string file = Out("Doc1.pdf");
    EXPECT_TRUE(QpdfCheckPasses(file)) << "opens without a password";
    const std::string enc = RunCommand("qpdf --show-encryption " + ShellQuote(file)).output;
    EXPECT_NE(enc.find("R = 6"), std::string::npos) << enc;
    EXPECT_NE(enc.find("extract for any purpose: not allowed"), std::string::npos) << enc;
    EXPECT_NE(enc.find("print high resolution: not allowed"), std::string::npos) << enc;
    EXPECT_NE(enc.find("modify annotations: allowed"), std::string::npos) << enc;
    const std::string owner = RunCommand("qpdf --show-encryption --password=owner " + ShellQuote(file)).output;
    EXPECT_NE(owner.find("Supplied password is owner password"), std::string::npos) << owner;
}

TEST_F(SplitWriteTest, OpenPasswordWithRestrictionsKeepsRestrictionsUnliftable) {
    ASSERT_EQ(Split("multicolumn-latex-2col.pdf", "--equal 3 --prefix none --open-password user --deny edit").status, 0);
    const std::string file = Out("Doc1.pdf");
    EXPECT_FALSE(QpdfCheckPasses(file)) << "needs its password";
    EXPECT_TRUE(QpdfCheckPasses(file, "user"));
    const std::string enc = RunCommand("qpdf --show-encryption --password=user " + ShellQuote(file)).output;
    EXPECT_NE(enc.find("Supplied password is user password"), std::string::npos)
        << "an empty owner password would let the user password lift the restrictions\n" << enc;
    EXPECT_NE(enc.find("modify other: not allowed"), std::string::npos) << enc;
    EXPECT_EQ(RunCommand("qpdf --show-encryption --password= " + ShellQuote(file) + " 2>&1").output.find("owner password"),
              std::string::npos);
}

TEST_F(SplitWriteTest, AllPermissionsAndNoPasswordLeaveOutputsUnencrypted) {
    ASSERT_EQ(Split("multicolumn-latex-2col.pdf", "--equal 3 --prefix none").status, 0);
    EXPECT_EQ(RunCommand("qpdf --is-encrypted " + ShellQuote(Out("Doc1.pdf"))).status, 2);
}

TEST_F(SplitWriteTest, LinearizedOutputsPassTheLinearizationCheck) {
    ASSERT_EQ(Split("mnras-guide-2col-rotated-page.pdf", "--equal 5 --prefix none --linearize").status, 0);
    for (const char* f : {"Doc1.pdf", "Doc2.pdf"}) {
        const CommandResult r = RunCommand("qpdf --check-linearization " + ShellQuote(Out(f)) + " 2>&1");
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("no linearization errors"), std::string::npos) << r.output;
    }
}

TEST_F(SplitWriteTest, PageLabelsAreKeptOrRemovedAsAsked) {
    const auto labels = [&](const std::string& file) {
        return QpdfJson(ShellQuote(Out(file)), "--json-key=pagelabels")["pagelabels"].dump();
    };
    ASSERT_EQ(Split("damaged-xref-outlines-labels-recoverable.pdf", "--equal 10 --prefix none").status, 0);
    EXPECT_EQ(labels("Doc2.pdf"),
              R"([{"index":0,"label":{"/S":"/R","/St":7}},{"index":1,"label":{"/St":1}},{"index":2,"label":{"/S":"/r","/St":2}},{"index":5,"label":{"/S":"/r","/St":6}},{"index":9,"label":{"/St":1}}])");
    ASSERT_EQ(Split("damaged-xref-outlines-labels-recoverable.pdf", "--equal 10 --prefix none --remove-labels").status, 0);
    EXPECT_EQ(labels("Doc2.pdf"), "[]");
}

TEST_F(SplitWriteTest, FormFieldsAreListedWithTheirWidgetsOnTheirPages) {
    ASSERT_EQ(Split("acroform-fields-two-pages-mixed-annots.pdf", "--equal 1 --prefix none").status, 0);
    std::size_t total = 0;
    for (const char* f : {"Doc1.pdf", "Doc2.pdf"}) {
        const auto form = QpdfJson(ShellQuote(Out(f)), "--json-key=acroform")["acroform"];
        EXPECT_TRUE(form["hasacroform"].get<bool>()) << f;
        for (const auto& field : form["fields"]) EXPECT_EQ(field["pageposfrom1"].get<int>(), 1) << f;
        total += form["fields"].size();
    }
    EXPECT_EQ(total, 20u) << "every widget of the source, once";
}

TEST_F(SplitWriteTest, LinksBetweenPagesOfOneOutputKeepWorking) {
    // Every GoTo link of the hyperref manual is named; its targets are all in a one-output split.
    ASSERT_EQ(Split("mnras-guide-2col-rotated-page.pdf", "--equal 10 --prefix none").status, 0);
    const auto objects = QpdfJson(ShellQuote(Out("Doc1.pdf")), "--json-key=qpdf")["qpdf"][1];
    int working = 0, broken = 0;
    for (const auto& [key, object] : objects.items()) {
        const auto& value = object.contains("value") ? object["value"] : nlohmann::json();
        if (!value.is_object() || value.value("/Subtype", "") != "/Link") continue;
        nlohmann::json action = value.value("/A", nlohmann::json());
        if (action.is_string()) action = objects["obj:" + action.get<std::string>()]["value"];
        if (!action.is_object() || action.value("/S", "") != "/GoTo") continue;
        const auto& dest = action["/D"];
        (dest.is_array() && !dest[0].is_null() ? working : broken)++;
    }
    EXPECT_GT(working, 50);
    EXPECT_EQ(broken, 0);
}

TEST_F(SplitWriteTest, OnePageOutputsAreNoLargerThanQpdfsOwnSplit) {
    ASSERT_EQ(Split("mnras-guide-2col-rotated-page.pdf", "--equal 1 --prefix none").status, 0);
    TempFolder qpdfOut;
    ASSERT_EQ(RunCommand("qpdf --split-pages " + Data("mnras-guide-2col-rotated-page.pdf") + " " +
                         ShellQuote(qpdfOut / "p-%d.pdf"))
                  .status,
              0);
    const auto total = [](const std::string& folder) {
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();
        return bytes;
    };
    EXPECT_LE(total(out.Path()), total(qpdfOut.Path()) * 11 / 10);
}

TEST_F(SplitWriteTest, OutputsKeepTheSourcesPdfVersionAndRefuseToOverwriteIt) {
    ASSERT_EQ(Split("mnras-guide-2col-rotated-page.pdf", "--equal 5 --prefix none").status, 0);
    EXPECT_EQ(PdfInfoField(Out("Doc1.pdf"), "PDF version"), "1.5");

    TempFolder own;
    fs::copy_file(std::string(TESSERA_TEST_DATA) + "/multicolumn-latex-2col.pdf", own / "Doc1.pdf");
    const auto before = fs::file_size(own / "Doc1.pdf");
    const CommandResult r = Tessera(config, "split --reset --quiet --prefix none --equal 1 -o " + ShellQuote(own.Path()) +
                                                " " + ShellQuote(own / "Doc1.pdf") + " 2>&1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("would be written over the document being split"), std::string::npos) << r.output;
    EXPECT_EQ(fs::file_size(own / "Doc1.pdf"), before);
    EXPECT_FALSE(fs::exists(own / "Doc2.pdf")) << "nothing is written";
}

// What stands in the way is found before anything is written or made.
TEST_F(SplitWriteTest, AnIndexOrAPathThatCannotBeWrittenFailsTheRunBeforeAnyWriting) {
    fs::create_directory(Out("multicolumn-latex-2col_index.htm"));
    const CommandResult index = Split("multicolumn-latex-2col.pdf", "--equal 1 --html-index 2>&1");
    EXPECT_EQ(index.status, 1) << index.output;
    EXPECT_NE(index.output.find("The HTML index could not be written"), std::string::npos) << index.output;
    EXPECT_TRUE(Files(out.Path()).empty());

    std::string deep = out / "new";
    for (int i = 0; i < 16; ++i) deep += "/" + std::string(250, 'd');
    const CommandResult tooLong = Tessera(config, "split --yes --equal 1 --base " + std::string(240, 'b') + " -o " +
                                                      ShellQuote(deep) + " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(tooLong.status, 1) << tooLong.output;
    EXPECT_NE(tooLong.output.find("longer than the system allows"), std::string::npos) << tooLong.output;
    EXPECT_FALSE(fs::exists(out / "new")) << "no folder is made for a run that is refused";
}

TEST_F(SplitWriteTest, LongAndHostileNamesAreWrittenWholeAndIndexedAsText) {
    TempFolder source;
    const std::string hostile = "<img src=x onerror=alert(1)>.pdf";
    fs::copy_file(std::string(TESSERA_TEST_DATA) + "/mnras-guide-2col-rotated-page.pdf", source / hostile);
    const CommandResult r = RunCommand("cd " + ShellQuote(source.Path()) + " && XDG_CONFIG_HOME=" +
                                       ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
                                       " split --reset --quiet --prefix none --equal 5 --html-index --base " +
                                       std::string(246, 'b') + " -o " + ShellQuote(out.Path()) + " " +
                                       ShellQuote(hostile) + " 2>&1");
    ASSERT_EQ(r.status, 0) << r.output;
    const auto files = Files(out.Path());
    ASSERT_EQ(files.size(), 3u) << "two outputs and the index";
    for (const std::string& f : files) {
        EXPECT_LE(f.size(), 255u) << f;
        if (f.ends_with(".pdf")) {
            EXPECT_TRUE(QpdfCheckPasses(Out(f))) << f;
        }
    }
    std::ifstream in(Out("<img src=x onerror=alert(1)>_index.htm"));
    const std::string index((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(index.find("<img"), std::string::npos) << index;
    EXPECT_NE(index.find("Input document: " + source.Path() + "/&lt;img"), std::string::npos)
        << "the source's absolute path\n" << index;
}

TEST_F(SplitWriteTest, AFullDiskStopsAtTheOutputThatFailedAndLeavesNoPart) {
    TempFolder small;
    if (RunCommand("mount -t tmpfs -o size=64k tmpfs " + ShellQuote(small.Path()) + " 2>/dev/null").status != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here";
    const CommandResult r = Tessera(config, "split --reset --prefix none --equal 1 -o " + ShellQuote(small.Path()) +
                                                " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    const auto files = Files(small.Path());
    for (const std::string& f : files) EXPECT_TRUE(QpdfCheckPasses(small / f)) << f;
    RunCommand("umount " + ShellQuote(small.Path()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Doc" + std::to_string(files.size() + 1) + ".pdf: No space left on device"),
              std::string::npos) << r.output;
    EXPECT_EQ(files.size(), 1u) << "the first output fits, the second does not";
}

TEST_F(SplitWriteTest, AnInterruptedRunRemovesItsTemporaryFileAndSaysWhatWasFinished) {
    // Stopped as soon as the first output is there, in the middle of a run of
    // 175, in order and with writer processes: the report counts every output
    // that is on disk.
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        TempFolder folder;
        const CommandResult r = RunCommand(
            "XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
            " split --reset --quiet --jobs " + jobs + " --prefix none --equal 1 -o " + ShellQuote(folder.Path()) +
            " " + Data("ctex-manual-chinese.pdf") + " 2>&1 & pid=$!; until ls " +
            ShellQuote(folder.Path()) + " | grep -q pdf; do sleep 0.01; done; kill -TERM $pid; wait $pid; " +
            "echo \"status $?\"");
        if (r.output.find("status 0") != std::string::npos) continue;  // the run ended before the signal
        EXPECT_NE(r.output.find("status 143"), std::string::npos) << r.output;
        const auto files = Files(folder.Path());
        for (const std::string& f : files) {
            EXPECT_TRUE(f.ends_with(".pdf")) << "left behind: " << f;
            EXPECT_TRUE(QpdfCheckPasses(folder / f)) << f;
        }
        EXPECT_NE(r.output.find("tessera: interrupted"), std::string::npos) << r.output;
        const std::string count = files.size() == 1 ? "1 output was finished: "
                                                    : std::to_string(files.size()) + " outputs were finished";
        EXPECT_NE(r.output.find(count), std::string::npos) << r.output;
    }
}

TEST_F(SplitWriteTest, AnInterruptedScanSaysSoBeforeAnyOutputIsWritten) {
    const CommandResult r = RunCommand("XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
                                       " split --reset --dry-run --jobs 1 --separator scan " +
                                       Data("ctex-manual-chinese.pdf") +
                                       " 2>&1 & pid=$!; sleep 0.5; kill -TERM $pid; wait $pid; echo \"status $?\"");
    if (r.output.find("status 0") != std::string::npos) GTEST_SKIP() << "the scan ended before the signal";
    EXPECT_NE(r.output.find("tessera: interrupted. No output was finished.\nstatus 143"), std::string::npos)
        << r.output;
}

}  // namespace
}  // namespace tessera::test
