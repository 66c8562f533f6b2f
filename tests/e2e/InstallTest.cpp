// The installed tree as a user gets it: run from elsewhere, its manual pages,
// completions, desktop files and languages.
#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/E2eSupport.h"

namespace tessera::test {

static bool Have(const std::string& tool) { return RunCommand("command -v " + tool + " >/dev/null").status == 0; }

// Installed once for every test here: DESTDIR/usr.
class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new TempFolder;
        installed = RunCommand("DESTDIR=" + ShellQuote(root->Path()) + " cmake --install " +
                               ShellQuote(TESSERA_BINARY_DIR) + " --prefix /usr >/dev/null 2>&1")
                        .status == 0;
    }
    static void TearDownTestSuite() { delete root; }
    void SetUp() override { ASSERT_TRUE(installed); }

    static std::string Usr(const std::string& path) { return *root / ("usr/" + path); }
    // The installed program, run from a folder of its own with the given environment.
    static CommandResult Installed(const std::string& arguments, const std::string& environment = "") {
        const TempFolder elsewhere;
        return RunCommand("cd " + ShellQuote(elsewhere.Path()) + " && " + environment + " HOME=" +
                          ShellQuote(elsewhere.Path()) + " " + ShellQuote(Usr("bin/tessera")) + " " + arguments);
    }
    static CommandResult Complete(const std::string& words) {
        return RunCommand("bash -c " +
                          ShellQuote("source " + ShellQuote(Usr("share/bash-completion/completions/tessera")) +
                                     "; COMP_WORDS=(" + words +
                                     "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                                     "_tessera; echo \"${COMPREPLY[*]}\""));
    }

    static TempFolder* root;
    static bool installed;
};
TempFolder* InstallTest::root = nullptr;
bool InstallTest::installed = false;

TEST_F(InstallTest, TheInstalledProgramRunsFromAnywhereAndItsPagesNameEveryOption) {
    EXPECT_EQ(Installed("--version").output, std::string("tessera ") + TESSERA_VERSION + "\n");
    const TempFolder out;
    EXPECT_EQ(Installed("split --quiet --equal 4 -o " + ShellQuote(out.Path()) + " " +
                        Data("mnras-guide-2col-rotated-page.pdf"))
                  .status,
              0);
    EXPECT_EQ(FilesBelow(out.Path()).size(), 3u);
    // Every option --help lists is on the command's page.
    const std::string help = Installed("split --help").output;
    const std::string page =
        RunCommand("MANWIDTH=200 man -l " + ShellQuote(Usr("share/man/man1/tessera-split.1.gz")) + " 2>&1").output;
    const std::regex option(R"((^|[ ,])(--[a-z0-9-]+))");
    int options = 0;
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it, ++options)
        EXPECT_TRUE((*it)[2] == "--help" || page.find((*it)[2].str()) != std::string::npos)
            << (*it)[2] << " is missing from tessera-split(1)";
    EXPECT_GT(options, 60);
    for (const char* name : {"tessera", "tessera-split", "tessera-batch", "tessera-gui", "tessera-watch"}) {
        const CommandResult shown =
            RunCommand("man -l " + ShellQuote(Usr("share/man/man1/") + name + ".1.gz") + " 2>&1 >/dev/null");
        EXPECT_EQ(shown.output, "") << name << ": man warns";
    }
}

TEST_F(InstallTest, BashCompletesSubcommandsOptionsTheirValuesAndFiles) {
    EXPECT_EQ(Complete("tessera sp").output, "split\n");
    EXPECT_EQ(Complete("tessera split x.pdf --suf").output, "--suffix\n");
    EXPECT_EQ(Complete("tessera split x.pdf --suffix ''").output, "number letter pages label text template\n");
    EXPECT_EQ(Complete("tessera split x.pdf --prefix ''").output, "none name date\n");
    EXPECT_EQ(Complete("tessera split x.pdf --code-kinds ''").output, "qr datamatrix code128 code39 ean pdf417 aztec\n")
        << "kinds of code, not file names";
    EXPECT_NE(Complete("tessera batch --sh").output.find("--shard"), std::string::npos);
    // As bash hands over a line whose word holds = and :, which it breaks at.
    const auto completeLine = [](const std::string& line) {
        return RunCommand("bash -c " +
                          ShellQuote("source " + ShellQuote(Usr("share/bash-completion/completions/tessera")) +
                                     "; COMP_LINE=\"$1\"; COMP_POINT=${#1}; _tessera; echo \"${COMPREPLY[*]}\"") +
                          " _ " + ShellQuote(line))
            .output;
    };
    EXPECT_EQ(completeLine("tessera split x.pdf --separator change="), "area: regex: label size\n");
    EXPECT_EQ(completeLine("tessera split x.pdf --separator sheet=gr"), "grey green\n");
    // ./dev deps installs every checker: one missing is a broken set-up, not a pass.
    for (const char* tool :
         {"zsh", "fish", "desktop-file-validate", "appstreamcli", "xdg-mime", "update-mime-database"})
        ASSERT_TRUE(Have(tool)) << tool << " is missing: ./dev deps installs it";
    EXPECT_EQ(RunCommand("zsh -n " + ShellQuote(Usr("share/zsh/site-functions/_tessera"))).status, 0);
    const std::string fish = Usr("share/fish/vendor_completions.d/tessera.fish");
    EXPECT_EQ(RunCommand("fish -c " +
                         ShellQuote("source " + ShellQuote(fish) + "; complete -C 'tessera split x.pdf --suffix '") +
                         " | cut -f1 | tr '\\n' ' '")
                  .output,
              "label letter number pages template text ");
}

TEST_F(InstallTest, DesktopFilesValidateAndAProfileIsATypeOfItsOwn) {
    EXPECT_EQ(RunCommand("desktop-file-validate " + ShellQuote(Usr("share/applications/org.moraine.Tessera.desktop")) +
                         " 2>&1 | grep -v hint:")
                  .output,
              "");
    EXPECT_EQ(RunCommand("appstreamcli validate --no-net " +
                         ShellQuote(Usr("share/metainfo/org.moraine.Tessera.metainfo.xml")) + " >/dev/null 2>&1")
                  .status,
              0);
    ASSERT_EQ(RunCommand("update-mime-database " + ShellQuote(Usr("share/mime"))).status, 0);
    const TempFolder files;
    fs::copy_file(std::string(TESSERA_SAMPLES) + "/equal-pages.tpr", files / "p.tpr");
    EXPECT_EQ(RunCommand("XDG_DATA_DIRS=" + ShellQuote(Usr("share")) + ":/usr/share xdg-mime query filetype " +
                         ShellQuote(files / "p.tpr") + " 2>/dev/null")
                  .output,
              "application/x-tessera-profile\n");
}

TEST_F(InstallTest, TheUsersLanguageSpeaksAndAKeyItLacksStaysEnglish) {
    const std::string german = Installed("split --help", "LANGUAGE= LANG=de_DE.UTF-8").output;
    EXPECT_NE(german.find("Seiten"), std::string::npos) << german.substr(0, 2000);
    // A copy of the module whose German file lacks a message: that one is English.
    const TempFolder copy;
    RunCommand("cp -r " + ShellQuote(Usr("lib/tessera")) + "/. " + ShellQuote(copy.Path()) +
               " && sed -i '/^IDS_LESS_THAN_2_PAGES=/d' " + ShellQuote(copy / "Tessera.de.lan"));
    const TempFolder one;
    RunCommand("qpdf --empty --pages " + Data("multicolumn-latex-2col.pdf") + " 1 -- " + ShellQuote(one / "one.pdf"));
    const std::string said =
        Installed("split --equal 1 " + ShellQuote(one / "one.pdf") + " 2>&1",
                  "LANGUAGE=de LANG=de_DE.UTF-8 TESSERA_MODULE=" + ShellQuote(copy / "Tessera.api"))
            .output;
    EXPECT_NE(said.find("fewer than 2 pages"), std::string::npos) << said;
    const std::string other =
        Installed("split --equal 1 --output-folder /nonexistent/x " + ShellQuote(one / "one.pdf") + " 2>&1",
                  "LANGUAGE=de LANG=de_DE.UTF-8")
            .output;
    EXPECT_EQ(other.find("fewer than 2 pages"), std::string::npos) << other;
}

}  // namespace tessera::test
