// Batch runs of the real program over a folder: a line per file, the count,
// outputs that equal a single split's, and the start-up sequence.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/E2eSupport.h"
#include "support/PdfProbe.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

std::string Q(const fs::path& path) { return ShellQuote(path.string()); }
fs::path DataPath(const std::string& name) { return fs::path(TESSERA_TEST_DATA) / name; }

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class BatchTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* dir : {"in", "batch", "single"}) fs::create_directories(folder / dir);
        fs::copy_file(DataPath("multicolumn-latex-2col.pdf"), folder / "in/a.pdf");
        fs::copy_file(DataPath("mnras-guide-2col-rotated-page.pdf"), folder / "in/b.PDF");
        fs::copy_file(DataPath("broken-header-only-unrecoverable.pdf"), folder / "in/c.pdf");
        fs::copy_file(DataPath("encrypted-aes256-no-extract-no-print-owner-master.pdf"), folder / "in/d.pdf");
        std::ofstream(folder / "in/notes.txt") << "not a PDF";
    }
    // A profile saved from options, splitting into `dir`.
    std::string Profile(const std::string& options, const std::string& dir) {
        const fs::path profile = folder / (dir + ".tpr");
        const CommandResult saved = Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") + " " + options +
                                                        " -o " + Q(folder / dir) + " --save-profile " + Q(profile));
        EXPECT_EQ(saved.status, 0);
        return profile;
    }
    TempFolder config, folder;
};

TEST_F(BatchTest, AFolderRunSaysWhatBecameOfEachFileAndWritesWhatSingleSplitsWrite) {
    // An empty base name stays empty in the batch too.
    const std::string options = "--equal 3 --prefix name --base '' --transfer-bookmarks";
    const CommandResult run = Tessera(config, "batch --quiet --profile " + Q(Profile(options, "batch")) +
                                                  " --folder " + Q(folder / "in"));
    EXPECT_EQ(run.status, 1) << "not every file was split";
    const std::string in = folder / "in";
    EXPECT_NE(run.output.find(in + "/a.pdf: 1 output written"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(in + "/b.PDF: "), std::string::npos) << "any letter case";
    EXPECT_NE(run.output.find(in + "/c.pdf: skipped: cannot open it"), std::string::npos);
    EXPECT_NE(run.output.find(in + "/d.pdf: failed: "), std::string::npos);
    EXPECT_NE(run.output.find("4 files: 2 done, 1 skipped, 1 failed"), std::string::npos);
    EXPECT_EQ(run.output.find("notes.txt"), std::string::npos);

    for (const char* name : {"a.pdf", "b.PDF"})
        EXPECT_EQ(Tessera(config, "split " + Q(fs::path(folder / "in") / name) + " " + options + " -o " + Q(folder / "single"))
                      .status,
                  0);
    const std::vector<std::string> written = FileNames(folder / "batch");
    ASSERT_EQ(written, FileNames(folder / "single"));
    ASSERT_GE(written.size(), 3u);
    for (const std::string& name : written) {
        EXPECT_TRUE(QpdfCheckPasses(fs::path(folder / "batch") / name)) << name;
        EXPECT_EQ(PageTexts(fs::path(folder / "batch") / name), PageTexts(fs::path(folder / "single") / name)) << name;
    }
}

TEST_F(BatchTest, PermissionsApplyWhateverTheStoredParametersSayAndSequencesRunAtStartUp) {
    // A profile that claims everything is allowed still gets the permission boxes.
    std::string profile = Profile("--equal 2 --open-password secret --deny print", "batch");
    std::ifstream in(profile);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t allowAll = text.find("\"AllowAll\": false");
    ASSERT_NE(allowAll, std::string::npos);
    text.replace(allowAll, 17, "\"AllowAll\": true");
    std::ofstream(profile) << text;
    const fs::path sequence = folder / "seq.json";
    ASSERT_EQ(Tessera(config, "batch --new " + Q(sequence) + " --profile " + Q(profile) + " --file " +
                                  Q(folder / "in/a.pdf"))
                  .status,
              0);
    EXPECT_TRUE(FileNames(folder / "batch").empty()) << "--new splits nothing";

    const CommandResult run = RunCommand("TESSERA=" + Q(sequence) + " XDG_CONFIG_HOME=" + Q(config.Path()) + " " +
                                         ShellQuote(TESSERA_EXE) + " 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 file: 1 done, 0 skipped, 0 failed"), std::string::npos) << run.output;
    const fs::path output = folder / "batch/aDoc1.pdf";
    const CommandResult encryption = RunCommand("qpdf --password=secret --show-encryption " + Q(output));
    EXPECT_NE(encryption.output.find("print high resolution: not allowed"), std::string::npos) << encryption.output;

    const CommandResult unreadable = RunCommand("TESSERA=" + Q(folder / "none.json") + " " +
                                                ShellQuote(TESSERA_EXE) + " 2>&1");
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.output.find("could not be read"), std::string::npos) << unreadable.output;
}

TEST_F(BatchTest, OneFilesOutputsNeverReplaceAnothers) {
    // Without a prefix every file of the folder would name its outputs Doc1.pdf, Doc2.pdf...
    fs::copy_file(DataPath("multicolumn-latex-2col.pdf"), fs::path(folder / "in") / "e.pdf");
    const CommandResult run = Tessera(config, "batch --quiet --profile " + Q(Profile("--equal 2 --prefix none", "batch")) +
                                                  " --folder " + Q(folder / "in") + " 2>&1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("a.pdf: 2 outputs written"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("would be written to one file"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("e.pdf: failed"), std::string::npos) << run.output;
    const std::vector<std::string> source = PageTexts(DataPath("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(source.size(), 3u);
    EXPECT_EQ(PageTexts(fs::path(folder / "batch") / "Doc1.pdf"), std::vector<std::string>(source.begin(), source.begin() + 2))
        << "a.pdf's first output is still a.pdf's";
}

TEST_F(BatchTest, NoFileOfTheBatchIsWrittenOverWhetherAnInputOrAnIndexAlreadyWritten) {
    // A's outputs Doc1..Doc3 would take the place of Doc3.pdf, which waits for its turn.
    fs::create_directories(folder / "own");
    fs::copy_file(DataPath("multicolumn-latex-2col.pdf"), folder / "own/A.pdf");
    fs::copy_file(DataPath("mnras-guide-2col-rotated-page.pdf"), folder / "own/Doc3.pdf");
    const std::vector<std::string> pages = PageTexts(folder / "own/Doc3.pdf");
    const CommandResult own = Tessera(config, "batch --quiet --profile " + Q(Profile("--equal 1 --prefix none", "own")) +
                                                  " --folder " + Q(folder / "own") + " 2>/dev/null");
    EXPECT_EQ(own.status, 1);
    EXPECT_NE(own.output.find("A.pdf: failed: An output of this document would be written over"), std::string::npos)
        << own.output;
    EXPECT_NE(own.output.find("2 files: 0 done, 0 skipped, 2 failed"), std::string::npos) << own.output;
    EXPECT_EQ(PageTexts(folder / "own/Doc3.pdf"), pages);
    EXPECT_EQ(FileNames(folder / "own"), (std::vector<std::string>{"A.pdf", "Doc3.pdf"}));

    // report.PDF and report.pdf would both write report_index.htm.
    fs::create_directories(folder / "twins");
    for (const char* name : {"report.PDF", "report.pdf"}) fs::copy_file(DataPath("multicolumn-latex-2col.pdf"), fs::path(folder / "twins") / name);
    const CommandResult twins = Tessera(config, "batch --quiet --profile " + Q(Profile("--equal 2 --html-index", "batch")) +
                                                    " --folder " + Q(folder / "twins") + " 2>/dev/null");
    EXPECT_EQ(twins.status, 1);
    EXPECT_NE(twins.output.find("report.pdf: failed: Two outputs"), std::string::npos) << twins.output;
    std::ifstream index(folder / "batch/report_index.htm");
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(index), {}).find("report.PDF"), std::string::npos);

    const CommandResult both = Tessera(config, "batch --profile " + Q(folder / "own.tpr") + " --folder " +
                                                   Q(folder / "in") + " --file " + Q(folder / "in/a.pdf") + " 2>&1");
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.output.find("exactly one of --folder and --file"), std::string::npos) << both.output;
    const CommandResult beside = RunCommand("TESSERA=" + Q(folder / "seq.json") + " " + ShellQuote(TESSERA_EXE) + " about 2>&1");
    EXPECT_EQ(beside.status, 2);
    EXPECT_NE(beside.output.find("TESSERA names"), std::string::npos) << beside.output;
}

}  // namespace
}  // namespace tessera::test
