// What the command line promises: repeatable runs, dry runs that write
// nothing, failures that always say why, and usage errors on one line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

TEST(CommandLineTest, RunsStoreNothingUnlessAskedAndDryRunsWriteNothing) {
    TempFolder config, out;
    const std::string input = Data("mnras-guide-2col-rotated-page.pdf");
    ASSERT_EQ(Tessera(config, "split --quiet --equal 5 --open-password pw -o " + ShellQuote(out.Path()) + " " + input).status, 0);
    EXPECT_FALSE(fs::exists(config / "Moraine")) << "a plain run keeps nothing for the next one";

    const CommandResult dry = Tessera(config, "split --dry-run --remembered --yes --equal 5 -o " +
                                                  ShellQuote(out / "new/deeper") + " " + input);
    EXPECT_EQ(dry.status, 0);
    EXPECT_FALSE(fs::exists(out / "new")) << "a dry run makes no folder";
    EXPECT_FALSE(fs::exists(config / "Moraine")) << "a dry run stores no settings";

    ASSERT_EQ(Tessera(config, "split --quiet --remembered --equal 5 --prefix none -o " + ShellQuote(out.Path()) + " " + input)
                  .status,
              0);
    EXPECT_EQ(ModeOf(config / "Moraine"), 0700u);
    EXPECT_EQ(ModeOf(config / "Moraine/Tessera.conf"), 0600u) << "it holds passwords";
    EXPECT_EQ(Tessera(config, "split --dry-run --remembered " + input).output, "1\tDoc1.pdf\t1-5\n2\tDoc2.pdf\t6-10\n");
}

TEST(CommandLineTest, FailuresSayWhyEvenWhenQuiet) {
    TempFolder config, out;
    const CommandResult declined = Tessera(config, "split --quiet --equal 1 -o " + ShellQuote(out / "not/yet") + " " +
                                                       Data("multicolumn-latex-2col.pdf") + " </dev/null 2>&1");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.output.find("does not exist. Do you want the folder to be created? No"), std::string::npos)
        << declined.output;
    EXPECT_NE(declined.output.find("--yes"), std::string::npos) << declined.output;

    const std::string locked = Data("encrypted-rc4-128-restricted-user-view-owner-master.pdf");
    const CommandResult needed = Tessera(config, "split --quiet --equal 1 " + locked + " 2>&1");
    EXPECT_EQ(needed.status, 1);
    EXPECT_NE(needed.output.find("needs a password"), std::string::npos) << needed.output;
    const CommandResult wrong = Tessera(config, "split --quiet --equal 1 --password nope " + locked + " 2>&1");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("invalid password"), std::string::npos) << wrong.output;
}

TEST(CommandLineTest, UnicodePasswordsOpenOlderEncryption) {
    TempFolder config, out;
    const std::string file = out / "aes128.pdf";
    ASSERT_EQ(RunCommand("qpdf --encrypt 'pässwörd' 'öwner' 128 --use-aes=y -- " + Data("multicolumn-latex-2col.pdf") +
                         " " + ShellQuote(file))
                  .status,
              0);
    const CommandResult r = Tessera(config, "split --dry-run --equal 2 --password 'pässwörd' " + ShellQuote(file) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(PlanLines(r.output).size(), 2u) << r.output;
}

// Where a file is expected, a pipe or a device is refused at once: never
// waited on for a writer, never read without end.
TEST(CommandLineTest, APipeOrADeviceWhereAFileBelongsIsRefusedAtOnce) {
    TempFolder config, temp;
    const std::string fifo = temp / "fifo", q = ShellQuote(fifo), input = Data("multicolumn-latex-2col.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string profile = ShellQuote(temp / "p.tpr");
    ASSERT_EQ(Tessera(config, "split --equal 1 " + input + " --save-profile " + profile).status, 0);
    const struct {
        const char* name;
        std::string environment, arguments;
    } rows[] = {
        {"profile", "", "split --dry-run --profile " + q + " " + input},
        {"input", "", "split --dry-run --equal 1 /dev/zero"},
        {"sequence", "", "batch " + q},
        {"batch file", "", "batch --profile " + profile + " --file " + q},
        {"start-up sequence", "TESSERA=" + q, ""},
    };
    for (const auto& row : rows) {
        const CommandResult r = RunCommand("timeout 20 env " + row.environment + " XDG_CONFIG_HOME=" +
                                           ShellQuote(config.Path()) + " " + ShellQuote(TESSERA_EXE) + " " +
                                           row.arguments + " 2>&1");
        EXPECT_TRUE(r.status == 1 || r.status == 2) << row.name << ": " << r.status << " " << r.output;
        EXPECT_NE(r.output.find("not a regular file"), std::string::npos) << row.name << ": " << r.output;
    }
    fs::create_directories(config / "Moraine");
    fs::create_symlink("/dev/zero", config / "Moraine/Tessera.conf");
    const CommandResult settings = RunCommand("timeout 20 env XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " " +
                                              ShellQuote(TESSERA_EXE) + " split --dry-run --remembered --equal 1 " + input);
    EXPECT_EQ(settings.status, 0) << "settings that are no file read as the defaults";
}

TEST(CommandLineTest, UsageErrorsAreOneLineWithExitStatus2) {
    TempFolder config;
    const struct {
        const char* options;
        const char* says;
    } cases[] = {
        {"--equal 5 --bookmarks 1", "--bookmarks: cannot be combined with --equal"},
        {"--equal 0", "--equal: expected a whole number from 1 up"},
        {"--equal 99999999999", "is too large"},
        {"--doc 1-99999999999", "the page number is too large"},
        {"--separator text=x --area 100,0,50,20", "--area: the right edge is left of the left edge"},
        {"--separator text=x --area 0,50,100,20", "--area: the bottom edge is above the top edge"},
        {"--prefix sometimes", "--prefix"},
        {"--doc my-part.v2=1-2", "--doc: my-part.v2: The file name is invalid"},
    };
    for (const auto& c : cases) {
        const CommandResult r = Tessera(config, "split --dry-run " + std::string(c.options) + " " +
                                                    Data("multicolumn-latex-2col.pdf") + " 2>&1");
        EXPECT_EQ(r.status, 2) << c.options;
        EXPECT_EQ(r.output.rfind("tessera: ", 0), 0u) << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << "one line: " << r.output;
    }
}

// The options fill the settings dialog and press its OK: what it refuses is
// said, all of it at once, and nothing is written.
TEST(CommandLineTest, WhatTheDialogRefusesIsSaidAtOnceAndNothingIsWritten) {
    TempFolder config, out;
    // A document without bookmarks, where OK stays disabled without a check to say why.
    const std::string separatorProfile = config / "separator.tpr";
    std::ofstream(separatorProfile) << R"({"SplitMode": 3, "Settings": {"SecuritySettings": {}, "FilenameSettings": {},)"
                                       R"( "OutputSettings": {"EqualPagesNumber": 0}}})";
    std::string accented;
    for (int i = 0; i < 64; ++i) accented += "é";
    const struct {
        std::string options;
        std::vector<const char*> says;
    } cases[] = {
        {"--profile " + ShellQuote(separatorProfile), {"a separator split also needs a number of pages"}},
        {"--open-password '   ' --equal 2", {"no password is given"}},
        // Passwords past 127 bytes give outputs no password opens.
        {"--equal 2 --open-password " + std::string(128, 'x'), {"document password is too long"}},
        {"--equal 2 --open-password ' pw ' --permissions-password " + accented,
         {"blanks at the start and end of the passwords were dropped", "permissions password is too long"}},
        {"--permissions-password ' ' --separator 'text=a(b' --regex",
         {"no password is given", "\"a(b\" is not valid"}},
        {"--equal 2 -o 'new:folder/out'", {"new:folder/out", "is invalid"}},
    };
    for (const auto& c : cases) {
        const CommandResult r = Tessera(config, "split --yes -o " + ShellQuote(out.Path()) + " " + c.options + " " +
                                                    Data("multicolumn-latex-2col.pdf") + " 2>&1");
        EXPECT_EQ(r.status, 2) << c.options << "\n" << r.output;
        for (const char* text : c.says) EXPECT_NE(r.output.find(text), std::string::npos) << r.output;
        EXPECT_TRUE(std::filesystem::is_empty(out.Path())) << c.options;
    }
}

}  // namespace
}  // namespace tessera::test
