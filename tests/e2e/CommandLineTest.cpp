// What the command line promises: each kind of refusal with its exit status
// and its reason, runs that keep nothing unless asked, the module's menu items
// and a picture of the dialog without a display.
#include <sys/stat.h>

#include <fstream>
#include <tuple>

using namespace tessera::test;

namespace {

// tessera without a display, never waiting on a click or a keyboard.
CommandResult Headless(const TempFolder& config, const std::string& arguments, const std::string& environment = "") {
    const std::string home = ShellQuote(config.Path());
    return RunCommand("timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" + home +
                      " HOME=" + home + " XDG_RUNTIME_DIR=" + home + " " + environment + " " + ShellQuote(TESSERA_EXE) +
                      " " + arguments + " </dev/null 2>&1");
}

}  // namespace

// 2 for what the command line or the settings dialog refuses, 1 for a
// document or a run that fails; either way the reason, and nothing written.
TEST(CommandLineTest, EachKindOfRefusalHasItsExitStatusAndSaysWhy) {
    TempFolder config, work, out;
    const std::string o = " -o " + ShellQuote(out.Path()) + " ", doc = " " + Data("multicolumn-latex-2col.pdf");
    const std::string onePage = " " + ShellQuote(work / "one.pdf"),
                      picture = " --screenshot " + ShellQuote(out / "d.png");
    const std::string locked = " " + Data("encrypted-rc4-128-restricted-user-view-owner-master.pdf");
    ASSERT_EQ(RunCommand("qpdf --empty --pages" + doc + " 1 --" + onePage).status, 0);
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), work / "Doc1.pdf");
    std::ofstream(work / "bad.tpr") << R"({"SplitMode": 0, "Settings": {"SecuritySettings": {"CanPrint": "no"}}})";
    // Where a file is expected, a pipe or a device is refused at once: never
    // waited on for a writer, never read without end.
    const std::string fifo = ShellQuote(work / "fifo"), good = ShellQuote(work / "good.tpr");
    ASSERT_EQ(::mkfifo((work / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(Tessera(config, "split --equal 1" + doc + " --save-profile " + good).status, 0);
    // A module cut short, as an install stopped by a full disk leaves it.
    const std::string cut = ShellQuote(work / "cut.api");
    ASSERT_EQ(
        RunCommand("head -c 100000 " + ShellQuote(fs::path(TESSERA_EXE).parent_path() / "Tessera.api") + " > " + cut)
            .status,
        0);
    std::string accented, deep = out / "new";
    for (int i = 0; i < 64; ++i) accented += "é";
    for (int i = 0; i < 16; ++i) deep += "/" + std::string(250, 'd');
    const struct {
        const char* name;
        std::string arguments;
        int status;
        std::vector<std::string> says;
        std::string environment = "";
    } rows[] = {
        {"no command", "frobnicate", 2, {"A subcommand is required"}},
        {"no such input", "split --equal 2" + o + Data("no-such-file.pdf"), 2, {"no-such-file.pdf"}},
        {"options that conflict", "split --equal 5 --bookmarks 1" + o + doc, 2, {"--bookmarks: cannot be combined"}},
        {"a value out of range", "split --separator scan=81" + o + doc, 2, {"scan sensitivity goes from 10 to 80"}},
        {"bookmarks where there are none", "split --bookmarks 1" + o + doc, 2, {"no bookmarks to split by"}},
        // Passwords past 127 bytes give outputs no password opens.
        {"a password too long",
         "split --equal 2 --open-password " + std::string(128, 'x') + o + doc,
         2,
         {"document password is too long"}},
        {"all the dialog refuses, at once",
         "split --equal 2 --open-password ' pw ' --permissions-password " + accented + o + doc,
         2,
         {"blanks at the start and end of the passwords were dropped", "permissions password is too long"}},
        {"a profile saved by a dry run",
         "split --dry-run --equal 2 --save-profile " + ShellQuote(out / "p") + doc,
         2,
         {"--save-profile writes a file"}},
        {"a batch of a folder and a file",
         "batch --profile " + ShellQuote(work / "bad.tpr") + " --folder " + ShellQuote(work.Path()) + " --file" + doc,
         2,
         {"exactly one of --folder and --file"}},
        {"a start-up sequence and a command", "about", 2, {"TESSERA names"}, "TESSERA=" + ShellQuote(work / "s.json")},
        {"a picture without the window", "split" + picture + doc, 2, {"--screenshot goes with --gui"}},
        {"not a PDF", "split --equal 2" + o + Data("broken-header-only-unrecoverable.pdf"), 1, {"cannot open"}},
        {"no password", "split --equal 1" + o + locked, 1, {"needs a password"}},
        {"a wrong password", "split --equal 1 --password nope" + o + locked, 1, {"invalid password"}},
        {"extraction denied to the user",
         "split --equal 1 --password view" + o + locked,
         1,
         {"do not allow its pages"}},
        {"the source written over",
         "split --prefix none --equal 1 -o " + ShellQuote(work.Path()) + " " + ShellQuote(work / "Doc1.pdf"),
         1,
         {"would be written over the document being split"}},
        // Held to the window's lengths: a folder path the system would not take never gets that far.
        {"a folder longer than the window takes",
         "split --yes --equal 1 -o " + ShellQuote(deep) + doc,
         2,
         {"Output folder: 4", "more than the 512 it may have"}},
        {"a folder the user would not create",
         "split --equal 1 -o " + ShellQuote(out / "not/yet") + doc,
         1,
         {"does not exist. Do you want the folder to be created? No", "--yes"}},
        {"an unreadable profile",
         "split --profile " + ShellQuote(work / "bad.tpr") + o + doc,
         1,
         {"The profile could not be read", "\"Settings/SecuritySettings/CanPrint\" holds a text"}},
        {"an unreadable start-up sequence", "", 1, {"could not be read"}, "TESSERA=" + ShellQuote(work / "none.json")},
        {"a module that cannot be loaded", "--module /nonexistent/Tessera.api menus", 1, {"cannot load the plug-in"}},
        {"a module cut short", "--module " + cut + " --version", 1, {"it is cut short: 100000 bytes of the"}},
        {"a pipe for the module", "--module " + fifo + " menus", 1, {"not a regular file"}},
        {"a pipe for a profile", "split --dry-run --profile " + fifo + doc, 1, {"not a regular file"}},
        {"a device for the input", "split --dry-run --equal 1 /dev/zero", 1, {"not a regular file"}},
        {"a pipe for a sequence", "batch " + fifo, 2, {"not a regular file"}},
        {"a pipe for a file of a batch", "batch --profile " + good + " --file " + fifo, 1, {"not a regular file"}},
        {"a pipe for the start-up sequence", "", 1, {"not a regular file"}, "TESSERA=" + fifo},
        // Offscreen nobody can click a message box away.
        {"a password asked for by the window", "gui" + locked + picture, 1, {"needs a password"}},
        {"a refusal shown by the window", "gui" + onePage + picture, 1, {"fewer than 2 pages"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CommandResult r = Headless(config, row.arguments, row.environment);
        EXPECT_EQ(r.status, row.status) << r.output;
        EXPECT_TRUE(row.status != 2 || r.output.rfind("tessera: ", 0) == 0) << "a usage error says so first";
        for (const std::string& says : row.says) EXPECT_NE(r.output.find(says), std::string::npos) << r.output;
        EXPECT_TRUE(fs::is_empty(out.Path()));
    }
    EXPECT_FALSE(fs::exists(work / "Doc2.pdf")) << "nothing is written beside the source";
    // The owner may do what the user may not; a password typed in UTF-8 opens older encryption.
    EXPECT_EQ(Tessera(config, "split --dry-run --equal 1 --password master" + locked).status, 0);
    ASSERT_EQ(
        RunCommand("qpdf --encrypt 'pässwörd' 'öwner' 128 --use-aes=y --" + doc + " " + ShellQuote(work / "aes.pdf"))
            .status,
        0);
    EXPECT_EQ(PlannedPages(
                  Tessera(config, "split --dry-run --doc 1-3 --password 'pässwörd' " + ShellQuote(work / "aes.pdf"))),
              "1,2,3");
}

TEST(CommandLineTest, RunsStoreNothingUnlessAskedAndDryRunsMakeNothing) {
    TempFolder config, out;
    const std::string input = Data("mnras-guide-2col-rotated-page.pdf");
    ASSERT_EQ(
        Tessera(config, "split --quiet --equal 5 --open-password pw -o " + ShellQuote(out.Path()) + " " + input).status,
        0);
    EXPECT_FALSE(fs::exists(config / "Moraine")) << "a plain run keeps nothing for the next one";

    const std::string deeper = " -o " + ShellQuote(out / "new/deeper") + " " + input;
    EXPECT_EQ(Tessera(config, "split --dry-run --remembered --yes --equal 5" + deeper).status, 0);
    EXPECT_FALSE(fs::exists(out / "new")) << "a dry run makes no folder";
    EXPECT_FALSE(fs::exists(config / "Moraine")) << "a dry run stores no settings";
    EXPECT_EQ(Tessera(config, "split --quiet --yes --equal 5" + deeper).status, 0);
    EXPECT_EQ(FilesBelow(out / "new/deeper").size(), 2u);

    ASSERT_EQ(
        Tessera(config, "split --quiet --remembered --equal 5 --prefix none -o " + ShellQuote(out.Path()) + " " + input)
            .status,
        0);
    EXPECT_EQ(ModeOf(config / "Moraine"), 0700u);
    EXPECT_EQ(ModeOf(config / "Moraine/Tessera.conf"), 0600u) << "it holds passwords";
    EXPECT_EQ(Tessera(config, "split --dry-run --remembered " + input).output, "1\tDoc1.pdf\t1-5\n2\tDoc2.pdf\t6-10\n");
    fs::remove(config / "Moraine/Tessera.conf");
    fs::create_symlink("/dev/zero", config / "Moraine/Tessera.conf");
    EXPECT_EQ(Headless(config, "split --dry-run --remembered --equal 1 " + input).status, 0)
        << "settings that are no file read as the defaults";
}

TEST(CommandLineTest, TheModulesMenuItemsAboutHelpAndLanguageFiles) {
    TempFolder config, lonely, out;
    EXPECT_NE(Tessera(config, "menus").output.find("UsingExtensions\tKORB:Tessera\tSplit Document...\tenabled"),
              std::string::npos);
    const CommandResult about = Tessera(config, "about");
    EXPECT_EQ(about.status, 0);
    EXPECT_NE(about.output.find("Tessera PDF Splitter"), std::string::npos) << about.output;
    EXPECT_NE(about.output.find("Version 0.1, Build date: "), std::string::npos) << about.output;
    const CommandResult version = Tessera(config, "--version 2>/dev/null");
    EXPECT_EQ(std::tuple(version.status, version.output), std::tuple(0, std::string("tessera 0.1.0\n")));
    // "-" reads the input from standard input, into a copy of its own that goes when the run ends.
    TempFolder temporary;
    EXPECT_EQ(Tessera(config, "split - --reset --quiet --prefix name --dry-run --equal 2 < " +
                                  Data("multicolumn-latex-2col.pdf") + " 2>&1")
                  .output,
              "1\tstdinDoc1.pdf\t1-2\n2\tstdinDoc2.pdf\t3\n");
    EXPECT_EQ(RunCommand("TMPDIR=" + ShellQuote(temporary.Path()) + " " + TESSERA_EXE +
                         " split - --reset --dry-run "
                         "--equal 2 < " +
                         Data("multicolumn-latex-2col.pdf") + " >/dev/null")
                  .status,
              0);
    EXPECT_TRUE(fs::is_empty(temporary.Path()));
    const CommandResult help = Headless(config, "help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(fs::path(help.output.substr(0, help.output.find('\n'))).filename(), "Tessera.htm");
    // Without its language files the module says so, and splits all the same.
    fs::copy_file(fs::path(TESSERA_EXE).parent_path() / "Tessera.api", lonely / "Tessera.api");
    const CommandResult r =
        Tessera(config, "--module " + ShellQuote(lonely / "Tessera.api") + " split --equal 2 -o " +
                            ShellQuote(out.Path()) + " " + Data("multicolumn-latex-2col.pdf") + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("LanguageTable.lan file is missing. Please install correct version of the software."),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Tessera.lan file is missing."), std::string::npos) << r.output;
    EXPECT_EQ(FilesBelow(out.Path()).size(), 2u);
    // Nor has it its windows: a window's run fails and says so.
    const CommandResult window =
        Headless(config, "--module " + ShellQuote(lonely / "Tessera.api") + " gui " +
                             Data("multicolumn-latex-2col.pdf") + " --screenshot " + ShellQuote(lonely / "dialog.png"));
    EXPECT_EQ(window.status, 1) << window.output;
    EXPECT_NE(window.output.find("The windows cannot be shown: " + (lonely / "TesseraWindows.so")), std::string::npos)
        << window.output;
    EXPECT_FALSE(fs::exists(lonely / "dialog.png"));
    // Its windows cut short are refused by name, not mapped to end the run.
    ASSERT_EQ(RunCommand("head -c 100000 " + ShellQuote(fs::path(TESSERA_EXE).parent_path() / "TesseraWindows.so") +
                         " > " + ShellQuote(lonely / "TesseraWindows.so"))
                  .status,
              0);
    const CommandResult cut =
        Headless(config, "--module " + ShellQuote(lonely / "Tessera.api") + " gui " +
                             Data("multicolumn-latex-2col.pdf") + " --screenshot " + ShellQuote(lonely / "dialog.png"));
    EXPECT_EQ(cut.status, 1) << cut.output;
    EXPECT_NE(cut.output.find("TesseraWindows.so: it is cut short"), std::string::npos) << cut.output;
    // A run without windows maps no toolkit: the module does not link it, nor
    // the program but in the sanitizer builds (CMakeLists.txt says why).
    EXPECT_EQ(RunCommand("ldd " + ShellQuote(lonely / "Tessera.api") + " | grep -c Qt6").output, "0\n");
    const std::string program = RunCommand("ldd " + ShellQuote(TESSERA_EXE)).output;
    if (program.find("libasan") == std::string::npos) {
        EXPECT_EQ(program.find("Qt6"), std::string::npos) << program;
    }
}

TEST(CommandLineTest, AScreenshotDrawsTheDialogWithoutADisplayAndSplitsNothing) {
    TempFolder config, out;
    const std::string input = Data("multicolumn-latex-2col.pdf"), picture = out / "dialog.png";
    for (const std::string& command : {"gui " + input + " --screenshot ", "split " + input + " --gui --screenshot "}) {
        fs::remove(picture);
        const CommandResult r = Headless(config, command + ShellQuote(picture));
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(ReadFile(picture).substr(0, 8), "\x89PNG\r\n\x1a\n") << command;
        EXPECT_EQ(FilesBelow(out.Path()), std::vector<std::string>{"dialog.png"}) << command;
    }
}

// Lists as spreadsheets and editors write them: a byte-order mark, a header
// in any case, a blank line at the end. A device is no list, and a size
// limit's refusal says the limit it holds to.
TEST(CommandLineTest, NamesAndManifestsAreReadAsEditorsWriteThemAndDevicesAreRefused) {
    TempFolder config, lists;
    const std::string input = " " + Data("mnras-guide-2col-rotated-page.pdf");
    std::ofstream(lists / "m.csv") << "\xEF\xBB\xBFName,Count\r\n\"Smith, Sons\",5\r\nA&B,\"5\"\r\n\r\n";
    std::ofstream(lists / "n.txt") << "\xEF\xBB\xBF"
                                      "First\nSecond\n";
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --prefix none --manifest " + ShellQuote(lists / "m.csv") + input)
                  .output,
              "1\tSmith_ Sons.pdf\t1-5\n2\tA&B.pdf\t6-10\n");
    EXPECT_EQ(Tessera(config, "split --reset --dry-run --manifest " + ShellQuote(lists / "m.csv") + " --names " +
                                  ShellQuote(lists / "n.txt") + input)
                  .status,
              2)
        << "one of them names the outputs";
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --equal 5 --names " + ShellQuote(lists / "n.txt") + input).output,
        "1\tFirst.pdf\t1-5\n2\tSecond.pdf\t6-10\n");
    // Names turned around by a bidirectional override, or split by a line
    // separator, are made safe.
    std::ofstream(lists / "odd.txt") << "inv\u202Efdp.exe\nB\u2028C\n";
    EXPECT_EQ(
        Tessera(config, "split --reset --dry-run --equal 5 --names " + ShellQuote(lists / "odd.txt") + input).output,
        "1\tinv_fdp_exe.pdf\t1-5\n2\tB_C.pdf\t6-10\n");
    std::ofstream(lists / "esc.txt") << "text=\x1b]0;owned\x07(";
    // A mistake is found where the file has it: a quoted name over two lines comes before.
    std::ofstream(lists / "bad.csv") << "name,selection\r\n\"Two\r\nlines\",1-2\r\nBad,x-9\r\n";
    // Refused, each saying what it was: devices for lists, standard input
    // that holds no PDF, an escape sequence (printed escaped), an empty
    // folder as an unset variable gives, a size past the largest.
    for (const auto& [options, status, says] :
         {std::tuple{std::string("--equal 5 --names /dev/zero"), 2, "not a file or a pipe"},
          {"--manifest /dev/zero", 2, "not a file or a pipe"},
          {"--manifest /tmp", 2, "not a file or a pipe"},
          {"--manifest " + ShellQuote(lists / "bad.csv"), 2, "bad.csv, line 4, column 2: in \"x-9\""},
          {"--equal 1 - < /dev/null", 1, "standard input was empty"},
          {"--equal 1 - <&-", 1, "standard input, which is closed"},
          {"--equal 1 - < /tmp", 1, "standard input, which is a folder"},
          {"--regex --separator \"$(cat " + ShellQuote(lists / "esc.txt") + ")\"", 2, "\\x1b]0;owned\\x07("},
          {"--equal 5 -o ''", 2, "No output folder is given."},
          // In a profile's words.
          {"--equal 0", 2, "The number of pages per document must be greater than zero."},
          {"--bookmarks 2-0", 2, "The bookmark levels are invalid"},
          {"--separator text=", 2, "No search text is given for the separator page."},
          {"--max-size 2GiB", 2, "at most 2147483647 bytes"},
          {"--equal 5 --duplex", 2, "--duplex goes with --separator blank, scan, code or sheet="},
          {"--equal 5 --on-missing new", 2, "--on-missing goes with --separator change="},
          {"--equal 5 --name-pattern x", 2, "--name-pattern goes with --name"},
          {"--equal 5 --name 'X{n}' --names " + ShellQuote(lists / "n.txt"), 2, "both name the outputs"}}) {
        const std::string stdinOrFile = options.find(" - ") != std::string::npos ? "" : input;
        const CommandResult r = Tessera(config, "split --reset --dry-run " + options + stdinOrFile + " 2>&1");
        EXPECT_EQ(r.status, status) << options;
        EXPECT_NE(r.output.find(says), std::string::npos) << r.output;
    }
}
