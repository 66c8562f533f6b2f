// The desktop entry points: their picture of the dialog needs no display and
// splits nothing; the command line still refuses what makes no sense.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

bool IsPng(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    char head[8] = {};
    in.read(head, sizeof head);
    return in && std::string(head, 8) == "\x89PNG\r\n\x1a\n";
}

TEST(GuiTest, AScreenshotDrawsTheDialogWithoutADisplayAndSplitsNothing) {
    TempFolder config, out;
    const std::string input = Data("multicolumn-latex-2col.pdf");
    for (const std::string& command : {"gui " + input + " --screenshot ", "split " + input + " --gui --screenshot "}) {
        const std::string picture = out / "dialog.png";
        fs::remove(picture);
        const CommandResult r = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
                                           ShellQuote(config.Path()) + " HOME=" + ShellQuote(out.Path()) + " " +
                                           ShellQuote(TESSERA_EXE) + " " + command + ShellQuote(picture));
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_TRUE(IsPng(picture)) << command;
        for (const auto& entry : fs::recursive_directory_iterator(out.Path()))
            EXPECT_NE(entry.path().extension(), ".pdf") << command << ": " << entry.path();
    }
}

// Offscreen nobody can click a message box away: a document refused before
// the dialog opens says why on stderr and ends the run.
TEST(GuiTest, APictureOfARefusedDocumentSaysWhyOnStderr) {
    TempFolder config, out;
    const std::string onePage = out / "one-page.pdf";
    ASSERT_EQ(RunCommand("qpdf --empty --pages " + Data("multicolumn-latex-2col.pdf") + " 1 -- " + ShellQuote(onePage))
                  .status,
              0);
    const std::pair<const char*, std::string> refused[] = {
        {"needs a password", Data("encrypted-rc4-128-restricted-user-view-owner-master.pdf")},
        {"denies extraction", Data("encrypted-aes256-no-extract-no-print-owner-master.pdf")},
        {"one page", ShellQuote(onePage)},
        {"not a PDF", Data("broken-header-only-unrecoverable.pdf")},
    };
    for (const auto& [why, input] : refused) {
        const std::string errors = out / "errors.txt";
        const CommandResult r = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
                                           ShellQuote(config.Path()) + " timeout 60 " + ShellQuote(TESSERA_EXE) +
                                           " gui " + input + " --screenshot " + ShellQuote(out / "d.png") + " 2>" +
                                           ShellQuote(errors));
        EXPECT_EQ(r.status, 1) << why << " (124: it waited for a click)";
        std::stringstream said;
        said << std::ifstream(errors).rdbuf();
        EXPECT_NE(said.str().find("tessera: "), std::string::npos) << why << ": " << said.str();
    }
}

TEST(GuiTest, AScreenshotWithoutTheWindowIsAUsageError) {
    TempFolder config, out;
    const CommandResult r = Tessera(config, "split --screenshot " + ShellQuote(out / "d.png") + " " +
                                                Data("multicolumn-latex-2col.pdf") + " 2>/dev/null");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(out / "d.png"));
}

}  // namespace
}  // namespace tessera::test
