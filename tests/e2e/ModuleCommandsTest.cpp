// The host program loading the module and running its menu items.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

TEST(ModuleCommandsTest, MenusAboutAndHelp) {
    TempFolder config;
    const CommandResult menus = Tessera(config, "menus");
    EXPECT_EQ(menus.status, 0);
    EXPECT_EQ(menus.output,
              "Extensions\tKORB:Tessera\tSplit Document...\tdisabled\n"
              "UsingExtensions\tKORB:Tessera\tSplit Document...\tenabled\n"
              "AboutExtensions\tKORB:Tessera\tSplit Document...\tenabled\n");
    const CommandResult about = Tessera(config, "about");
    EXPECT_EQ(about.status, 0);
    EXPECT_NE(about.output.find("Tessera PDF Splitter"), std::string::npos) << about.output;
    EXPECT_NE(about.output.find("Version 0.1, Build date: "), std::string::npos) << about.output;
    const CommandResult help = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME=" + ShellQuote(config.Path()) +
                                          " " + ShellQuote(TESSERA_EXE) + " help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(fs::path(help.output.substr(0, help.output.find('\n'))).filename(), "Tessera.htm");
}

TEST(ModuleCommandsTest, RefusalsAndUsageErrorsHaveTheirExitStatus) {
    TempFolder config, out;
    const std::string one = out / "one.pdf";
    ASSERT_EQ(RunCommand("qpdf --empty --pages " + Data("multicolumn-latex-2col.pdf") + " 1 -- " + ShellQuote(one)).status, 0);
    const CommandResult refused = Tessera(config, "split --equal 1 " + ShellQuote(one) + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("fewer than 2 pages"), std::string::npos) << refused.output;

    const CommandResult denied = Tessera(config, "split --equal 1 " + Data("encrypted-aes256-no-extract-no-print-owner-master.pdf") + " 2>&1");
    EXPECT_EQ(denied.status, 1);
    EXPECT_NE(denied.output.find("do not allow its pages to be extracted"), std::string::npos) << denied.output;

    const CommandResult declined = Tessera(config, "split --equal 1 -o " + ShellQuote(out / "not/yet") + " " +
                                                       Data("multicolumn-latex-2col.pdf") + " </dev/null 2>&1");
    EXPECT_EQ(declined.status, 1) << declined.output;
    EXPECT_FALSE(fs::exists(out / "not"));
    const CommandResult created = Tessera(config, "split --quiet --yes --equal 1 -o " + ShellQuote(out / "not/yet") + " " +
                                                      Data("multicolumn-latex-2col.pdf"));
    EXPECT_EQ(created.status, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(out / "not/yet"), fs::directory_iterator()), 3);

    EXPECT_EQ(Tessera(config, "split --equal 1 -o " + ShellQuote(out / "bad ") + " " + Data("multicolumn-latex-2col.pdf") +
                                  " 2>/dev/null")
                  .status,
              2);
    EXPECT_EQ(Tessera(config, "split --prefix sometimes " + Data("multicolumn-latex-2col.pdf") + " 2>/dev/null").status, 2);
    const CommandResult noMethod = Tessera(config, "split --reset " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(noMethod.status, 2) << "the initial method is a hand-made list, which is empty";
    EXPECT_NE(noMethod.output.find("There are no output documents"), std::string::npos) << noMethod.output;
}

TEST(ModuleCommandsTest, MissingLanguageFilesAreReportedAndTheSplitStillWorks) {
    TempFolder config, lonely, out;
    fs::copy_file(fs::path(TESSERA_EXE).parent_path() / "Tessera.api", lonely / "Tessera.api");
    const CommandResult r = Tessera(config, "--module " + ShellQuote(lonely / "Tessera.api") + " split --equal 2 -o " +
                                                ShellQuote(out.Path()) + " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("LanguageTable.lan file is missing. Please install correct version of the software."),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Tessera.lan file is missing."), std::string::npos) << r.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 2);
}

TEST(ModuleCommandsTest, AModuleThatCannotBeLoadedIsReported) {
    TempFolder config;
    const CommandResult r = Tessera(config, "--module /nonexistent/Tessera.api menus 2>&1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot load the plug-in module"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace tessera::test
