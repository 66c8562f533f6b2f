// Profiles on the command line: --save-profile, then --profile, plan and write
// the same outputs as the options themselves; the sample profiles are those options.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

struct Method {
    const char* sample;   // in samples/, saved from these options
    const char* options;
    const char* file;
};

const Method kMethods[] = {
    {"equal-pages.tpr",
     "--equal 3 --prefix none --base Part --suffix letter --linearize --watermark Draft --watermark-size 30 "
     "--watermark-transparency 20 --watermark-behind",
     "mnras-guide-2col-rotated-page.pdf"},
    {"bookmark-levels.tpr", "--bookmarks 1-2 --prefix name --folders --html-index", "mnras-guide-2col-rotated-page.pdf"},
    {"separator-text.tpr", "--separator text=Smith --area 682,0,782,595 --match-case --prefix none --suffix pages",
     "mnras-guide-2col-rotated-page.pdf"},
    {"hand-made.tpr",
     "--prefix none --base Lorem- --deny print --doc 'Front=1-2' --doc '/Lorem/' --doc 'z-2:odd' "
     "--doc 'Span=/Lorem/../ipsum/' --doc @link",
     "multicolumn-latex-2col.pdf"},
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Each output PDF under folder, by its path there, with its pages' content.
std::map<std::string, std::vector<std::string>> Written(const std::string& folder) {
    std::map<std::string, std::vector<std::string>> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".pdf")
            written[entry.path().lexically_relative(folder).string()] = PageContents(entry.path().string());
    return written;
}

std::string Sample(const char* name) { return ShellQuote(std::string(TESSERA_SAMPLES) + "/" + name); }

TEST(ProfileTest, SavedAndSampleProfilesPlanAsTheirOptions) {
    TempFolder config, folder;
    for (const Method& m : kMethods) {
        const std::string input = " " + Data(m.file);
        const CommandResult byOptions = Tessera(config, "split --dry-run " + std::string(m.options) + input);
        ASSERT_EQ(byOptions.status, 0) << m.options;
        ASSERT_FALSE(byOptions.output.empty()) << m.options;
        const std::string saved = folder / m.sample, again = folder / (std::string("again-") + m.sample);
        ASSERT_EQ(Tessera(config, "split --quiet " + std::string(m.options) + " --save-profile " + ShellQuote(saved) + input).status, 0);
        const CommandResult byProfile = Tessera(config, "split --dry-run --profile " + ShellQuote(saved) + input);
        EXPECT_EQ(byProfile.output, byOptions.output) << m.sample;
        const std::string fromOptions = folder / (std::string("options-") + m.sample);
        const std::string fromProfile = folder / (std::string("profile-") + m.sample);
        const std::string split = "split --quiet --yes -o ";
        ASSERT_EQ(Tessera(config, split + ShellQuote(fromOptions) + " " + m.options + input).status, 0);
        ASSERT_EQ(Tessera(config, split + ShellQuote(fromProfile) + " --profile " + ShellQuote(saved) + input).status, 0);
        EXPECT_EQ(Written(fromProfile), Written(fromOptions)) << m.sample;
        EXPECT_EQ(Tessera(config, "split --dry-run --profile " + Sample(m.sample) + input).output, byOptions.output)
            << m.sample;
        ASSERT_EQ(Tessera(config, "split --quiet --profile " + ShellQuote(saved) + " --save-profile " + ShellQuote(again) + input).status, 0);
        EXPECT_EQ(ReadFile(again), ReadFile(saved)) << "saving a loaded profile gives the same file";
    }
}

TEST(ProfileTest, OptionsChangeTheProfileWhereverTheyStand) {
    TempFolder config;
    const std::string input = " " + Data("mnras-guide-2col-rotated-page.pdf");
    const CommandResult r = Tessera(config, "split --dry-run --equal 5 --profile " + Sample("equal-pages.tpr") + input);
    EXPECT_EQ(r.output, "1\tPartA.pdf\t1-5\n2\tPartB.pdf\t6-10\n");
    const CommandResult doc = Tessera(config, "split --dry-run --profile " + Sample("hand-made.tpr") + " --doc 9-10" + input);
    EXPECT_EQ(doc.output, "1\tLorem-1.pdf\t9-10\n") << "--doc replaces the profile's outputs";
}

TEST(ProfileTest, BadProfilesAreRefusedWithTheReason) {
    TempFolder config, folder;
    const std::string input = " " + Data("mnras-guide-2col-rotated-page.pdf") + " 2>&1";
    std::ofstream(folder / "bad.tpr") << R"({"SplitMode": 0, "Settings": {"SecuritySettings": {"CanPrint": "no"}}})";
    std::ofstream(folder / "cut.tpr") << R"({"SplitMode": 0, "Settings": {"Output)";
    for (const auto& [name, reason] : {std::pair{"bad.tpr", "\"Settings/SecuritySettings/CanPrint\" holds a text"},
                                       std::pair{"cut.tpr", "not a Tessera cabinet"},
                                       std::pair{"none.tpr", "No such file or directory"}}) {
        const CommandResult r = Tessera(config, "split --dry-run --profile " + ShellQuote(folder / name) + input);
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.output.find("The profile could not be read"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(reason), std::string::npos) << r.output;
    }
    // A profile never replaces the input, and another file only when the user says so.
    const std::string victim = folder / "victim.pdf";
    std::filesystem::copy_file(std::string(TESSERA_TEST_DATA) + "/multicolumn-latex-2col.pdf", victim);
    const std::string pdf = ReadFile(victim);
    const std::string overInput = "split --equal 2 " + ShellQuote(victim) + " --save-profile " + ShellQuote(victim);
    EXPECT_EQ(Tessera(config, overInput + " 2>&1").status, 1);
    EXPECT_EQ(Tessera(config, overInput + " --yes 2>&1").status, 1);
    EXPECT_EQ(ReadFile(victim), pdf);
    std::ofstream(folder / "old.tpr") << "kept";
    const std::string overOther = "split --equal 2 " + ShellQuote(victim) + " --save-profile " + ShellQuote(folder / "old.tpr");
    const CommandResult asked = Tessera(config, overOther + " </dev/null 2>&1");
    EXPECT_EQ(asked.status, 1);
    EXPECT_NE(asked.output.find("--yes"), std::string::npos) << asked.output;
    EXPECT_EQ(ReadFile(folder / "old.tpr"), "kept");
    EXPECT_EQ(Tessera(config, overOther + " --yes").status, 0);
    EXPECT_NE(ReadFile(folder / "old.tpr"), "kept");

    const CommandResult both = Tessera(config, "split --dry-run --equal 2 --save-profile " + ShellQuote(folder / "p.tpr") + input);
    EXPECT_EQ(both.status, 2) << both.output;
    const CommandResult help = Tessera(config, "split --help");
    EXPECT_NE(help.output.find("--profile FILE.tpr"), std::string::npos);
    EXPECT_NE(help.output.find("--save-profile FILE.tpr"), std::string::npos);
}

}  // namespace
}  // namespace tessera::test
