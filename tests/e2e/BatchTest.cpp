// Batch runs of the real program over a folder: a line per file, the count,
// outputs that equal a single split's, no file written over another's, and
// the start-up sequence.
#include <sys/stat.h>

#include <fstream>

#include "support/ScopedEnvironment.h"

using namespace tessera::test;

class BatchTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* dir : {"in", "batch", "single"}) fs::create_directories(folder / dir);
        fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), folder / "in/a.pdf");
        fs::copy_file(DataFile("mnras-guide-2col-rotated-page.pdf"), folder / "in/b.PDF");
        fs::copy_file(DataFile("broken-header-only-unrecoverable.pdf"), folder / "in/c.pdf");
        fs::copy_file(DataFile("encrypted-aes256-no-extract-no-print-owner-master.pdf"), folder / "in/d.pdf");
        std::ofstream(folder / "in/notes.txt") << "not a PDF";
    }
    // A profile saved from options, splitting into `dir`.
    std::string Profile(const std::string& options, const std::string& dir) {
        const std::string profile = folder / (dir + ".tpr");
        EXPECT_EQ(Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") + " " + options + " -o " +
                                      ShellQuote(folder / dir) + " --save-profile " + ShellQuote(profile))
                      .status,
                  0);
        return profile;
    }
    CommandResult Batch(const std::string& profile, const std::string& dir) {
        return Tessera(config, "batch --quiet --profile " + ShellQuote(profile) + " --folder " +
                                   ShellQuote(folder / dir) + " 2>&1");
    }
    TempFolder config, folder;
};

TEST_F(BatchTest, AFolderRunSaysWhatBecameOfEachFileAndWritesWhatSingleSplitsWrite) {
    // The files of the batch and the single splits are compared: their metadata's time and ids are fixed.
    ScopedEnvironment fixed;
    fixed.Set("SOURCE_DATE_EPOCH", "86400");
    fixed.Set("TESSERA_STATIC_ID", "1");
    // An empty base name stays empty in the batch too.
    const std::string options = "--equal 3 --prefix name --base '' --transfer-bookmarks";
    const CommandResult run = Batch(Profile(options, "batch"), "in");
    EXPECT_EQ(run.status, 4) << "some files were split, not every one";
    const std::string in = folder / "in";
    EXPECT_NE(run.output.find(in + "/a.pdf: 1 output written"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(in + "/b.PDF: "), std::string::npos) << "any letter case";
    EXPECT_NE(run.output.find(in + "/c.pdf: skipped: cannot open it"), std::string::npos);
    EXPECT_NE(run.output.find(in + "/d.pdf: skipped: "), std::string::npos) << "its security forbids it for good";
    EXPECT_NE(run.output.find("4 files: 2 done, 2 skipped, 0 failed"), std::string::npos);
    EXPECT_EQ(run.output.find("notes.txt"), std::string::npos);

    for (const char* name : {"a.pdf", "b.PDF"})
        EXPECT_EQ(Tessera(config, "split " + ShellQuote(folder / "in/" + name) + " " + options + " -o " +
                                      ShellQuote(folder / "single"))
                      .status,
                  0);
    const auto written = FilesWithoutId(folder / "batch");
    EXPECT_GE(written.size(), 3u);
    EXPECT_EQ(written, FilesWithoutId(folder / "single"));
    for (const auto& [name, bytes] : written) EXPECT_TRUE(QpdfCheckPasses(folder / "batch/" + name)) << name;
}

TEST_F(BatchTest, PermissionsApplyWhateverTheStoredParametersSayAndSequencesRunAtStartUp) {
    // A profile that claims everything is allowed still gets the permission boxes.
    const std::string profile = Profile("--equal 2 --open-password secret --deny print", "batch");
    std::string text = ReadFile(profile);
    const std::size_t allowAll = text.find("\"AllowAll\": false");
    ASSERT_NE(allowAll, std::string::npos);
    text.replace(allowAll, 17, "\"AllowAll\": true");
    std::ofstream(profile) << text;
    const std::string sequence = folder / "seq.json";
    ASSERT_EQ(Tessera(config, "batch --new " + ShellQuote(sequence) + " --profile " + ShellQuote(profile) + " --file " +
                                  ShellQuote(folder / "in/a.pdf"))
                  .status,
              0);
    EXPECT_TRUE(NamesIn(folder / "batch").empty()) << "--new splits nothing";

    const CommandResult run =
        RunCommand("TESSERA=" + ShellQuote(sequence) + " XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " +
                   ShellQuote(TESSERA_EXE) + " 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 file: 1 done, 0 skipped, 0 failed"), std::string::npos) << run.output;
    const CommandResult encryption =
        RunCommand("qpdf --password=secret --show-encryption " + ShellQuote(folder / "batch/aDoc1.pdf"));
    EXPECT_NE(encryption.output.find("print high resolution: not allowed"), std::string::npos) << encryption.output;
}

TEST_F(BatchTest, NoFileOfTheBatchIsWrittenOverWhetherAnotherFilesOutputAnInputOrAnIndex) {
    // Without a prefix every file of the folder would name its outputs Doc1.pdf, Doc2.pdf...
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), folder / "in/e.pdf");
    const CommandResult same = Batch(Profile("--equal 2 --prefix none", "batch"), "in");
    EXPECT_EQ(same.status, 4);
    EXPECT_NE(same.output.find("a.pdf: 2 outputs written"), std::string::npos) << same.output;
    EXPECT_NE(same.output.find("e.pdf: failed: Two outputs of this run (or of this batch) would"), std::string::npos)
        << same.output;
    const std::vector<std::string> source = PageTexts(DataFile("multicolumn-latex-2col.pdf"));
    ASSERT_EQ(source.size(), 3u);
    EXPECT_EQ(PageTexts(folder / "batch/Doc1.pdf"), std::vector<std::string>(source.begin(), source.begin() + 2))
        << "a.pdf's first output is still a.pdf's";

    // A's outputs Doc1..Doc3 would take the place of Doc3.pdf, which waits for its turn.
    fs::create_directories(folder / "own");
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), folder / "own/A.pdf");
    fs::copy_file(DataFile("mnras-guide-2col-rotated-page.pdf"), folder / "own/Doc3.pdf");
    const CommandResult own = Batch(Profile("--equal 1 --prefix none", "own"), "own");
    EXPECT_EQ(own.status, 1);
    EXPECT_NE(own.output.find("A.pdf: failed: An output of this document would be written over"), std::string::npos)
        << own.output;
    EXPECT_NE(own.output.find("2 files: 0 done, 0 skipped, 2 failed"), std::string::npos) << own.output;
    EXPECT_EQ(ReadFile(folder / "own/Doc3.pdf"), ReadFile(DataFile("mnras-guide-2col-rotated-page.pdf")));
    EXPECT_EQ(NamesIn(folder / "own"), (std::vector<std::string>{"A.pdf", "Doc3.pdf"}));

    // report.PDF and report.pdf would both write report_index.htm.
    fs::create_directories(folder / "twins");
    for (const char* name : {"report.PDF", "report.pdf"})
        fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), folder / "twins/" + name);
    const CommandResult twins = Batch(Profile("--equal 2 --html-index", "single"), "twins");
    EXPECT_EQ(twins.status, 4);
    EXPECT_NE(twins.output.find("report.pdf: failed: Two outputs"), std::string::npos) << twins.output;
    EXPECT_NE(ReadFile(folder / "single/report_index.htm").find("report.PDF"), std::string::npos);
}

// A file no split can take is skipped for good: a warning, recorded, never
// retried; lists are files or pipes within bounds, each file split once; an
// empty --shard, as an unset variable gives, is refused.
TEST_F(BatchTest, UnsplittableFilesAreSkippedForGoodAndListsAreBounded) {
    fs::create_directories(folder / "few");
    ASSERT_EQ(RunCommand("qpdf --empty --pages " + Data("multicolumn-latex-2col.pdf") + " 1 -- " +
                         ShellQuote(folder / "few/one.pdf"))
                  .status,
              0);
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), folder / "few/two.pdf");
    const std::string profile = Profile("--equal 1", "out");
    // Deterministic: a record holds its outputs' digests, and the run without
    // --skip-done below writes them again, a second later on a slow machine.
    const auto batch = [&](const std::string& options) {
        return Tessera(config, "batch --quiet --deterministic --skip-done --profile " + ShellQuote(profile) + " " +
                                   options + " 2>&1");
    };
    const CommandResult first = batch("--folder " + ShellQuote(folder / "few"));
    EXPECT_EQ(first.status, 3) << first.output;
    EXPECT_NE(first.output.find("one.pdf: skipped: The document has fewer than 2 pages"), std::string::npos);
    // That warning is one as a split's are: --warning-exit-0 makes it 0.
    EXPECT_EQ(Tessera(config, "batch --quiet --deterministic --warning-exit-0 --profile " + ShellQuote(profile) +
                                  " --folder " + ShellQuote(folder / "few"))
                  .status,
              0);
    // Records are found by name and content: through another path to the
    // same files, as a host that mounts the share elsewhere sees them.
    fs::create_directory_symlink(folder / "few", folder / "elsewhere");
    const CommandResult again = batch("--folder " + ShellQuote(folder / "elsewhere"));
    EXPECT_EQ(again.status, 0) << again.output;
    for (const char* name : {"one.pdf: done before", "two.pdf: done before"})
        EXPECT_NE(again.output.find(name), std::string::npos) << again.output;
    // Other settings into the same folder: a record of the old ones does not count.
    const std::string other = folder / "other.tpr";
    ASSERT_EQ(Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") + " --equal 2 -o " +
                                  ShellQuote(folder / "out") + " --save-profile " + ShellQuote(other))
                  .status,
              0);
    const CommandResult changed = Tessera(config, "batch --quiet --skip-done --profile " + ShellQuote(other) +
                                                      " --folder " + ShellQuote(folder / "few") + " 2>&1");
    EXPECT_NE(changed.output.find("two.pdf: 2 outputs written"), std::string::npos) << changed.output;
    // A record that is a pipe stalls nothing: the file is split again.
    for (const auto& record : fs::directory_iterator(folder / "out/.tessera-done"))
        if (record.path().filename().string().rfind("two.pdf.", 0) == 0) {
            fs::remove(record.path());
            ASSERT_EQ(::mkfifo(record.path().c_str(), 0600), 0);
        }
    const CommandResult piped = RunCommand("timeout 60 env XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " +
                                           ShellQuote(TESSERA_EXE) + " batch --quiet --skip-done --profile " +
                                           ShellQuote(profile) + " --folder " + ShellQuote(folder / "few") + " 2>&1");
    EXPECT_NE(piped.output.find("two.pdf: 3 outputs written"), std::string::npos) << piped.output;

    std::ofstream(folder / "list.txt") << folder / "few/two.pdf"
                                       << "\n"
                                       << folder / "few/two.pdf"
                                       << "\n";
    EXPECT_NE(batch("--files-from " + ShellQuote(folder / "list.txt")).output.find("1 file: "), std::string::npos);
    for (const char* list : {"--files-from /dev/zero", "--files-from - -0 < /dev/zero", "--files-from /tmp"}) {
        const CommandResult r = batch(list);
        EXPECT_EQ(r.status, 2) << list;
        EXPECT_NE(r.output.find("not a file or a pipe"), std::string::npos) << r.output;
    }
    // A pipe that never ends is read up to a bound, not for ever.
    const CommandResult endless =
        RunCommand("yes x | XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) +
                   " batch --quiet --profile " + ShellQuote(profile) + " --files-from - 2>&1");
    EXPECT_EQ(endless.status, 2);
    EXPECT_NE(endless.output.find("longer than 64 MiB"), std::string::npos) << endless.output;
    EXPECT_EQ(batch("--shard '' --folder " + ShellQuote(folder / "few")).status, 2);
}
