#include "app/SplitOptions.h"

#include <charconv>
#include <filesystem>
#include <sstream>

namespace tessera::app {
namespace {

// The switches, each turning one boolean field on (--name) or off (--no-name).
struct FlagOption {
    const char* name;
    const char* help;
    bool* (*field)(SplitSettings&);
};

const FlagOption kFlagOptions[] = {
    {"folders", "Put the outputs of a bookmark split into subfolders that follow the bookmark tree",
     [](SplitSettings& s) { return &s.Filename.CreateFoldersForBookmarks; }},
    {"linearize", "Save the outputs linearized (fast web view)",
     [](SplitSettings& s) { return &s.Output.bLinearize; }},
    {"remove-labels", "Remove page labels from the outputs",
     [](SplitSettings& s) { return &s.Output.bRemovePageLabels; }},
    {"html-index", "Write SOURCE_index.htm into the output folder, linking every output",
     [](SplitSettings& s) { return &s.Output.bCreateHTMLIndex; }},
};

struct Choice {
    const char* word;
    std::int32_t value;
};
const Choice kPrefixChoices[] = {{"none", PrefixNone}, {"name", PrefixFilename}, {"date", PrefixTodaysDate}};
const Choice kSuffixChoices[] = {{"number", AddNumber}, {"letter", AddLetter}, {"pages", AddPageRanges},
                                 {"label", AddPageLabel}};

template <std::size_t N>
std::int32_t ChoiceValue(const Choice (&choices)[N], const std::string& word, const char* option) {
    std::string known;
    for (const Choice& c : choices) {
        if (word == c.word) return c.value;
        known += known.empty() ? c.word : std::string(", ") + c.word;
    }
    throw CLI::ValidationError(option, "\"" + word + "\" is not one of " + known);
}

template <std::size_t N>
std::string ChoiceWords(const Choice (&choices)[N]) {
    std::string words;
    for (const Choice& c : choices) words += (words.empty() ? "" : "|") + std::string(c.word);
    return words;
}

int ParseLevel(const std::string& text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        throw CLI::ValidationError("--bookmarks", "expected a level from 1 up, or a range of levels such as 1-3, at \"" +
                                                      text + "\" in \"" + whole + "\"");
    return value;
}

void ApplyBookmarkLevels(const std::string& text, SplitSettings& s) {
    const std::size_t dash = text.find('-');
    s.SplitMode = BookmarkLevels;
    s.Output.StartBookmarkLevel = ParseLevel(text.substr(0, dash), text);
    s.Output.EndBookmarkLevel =
        dash == std::string::npos ? s.Output.StartBookmarkLevel : ParseLevel(text.substr(dash + 1), text);
}

void ApplyDenied(const std::string& list, SecuritySettings& s) {
    s.bSecurityCanPrint = s.bSecurityCanCopy = s.bSecurityCanEdit = s.bSecurityCanEditNotes = true;
    std::istringstream in(list);
    for (std::string word; std::getline(in, word, ',');) {
        if (word == "print") s.bSecurityCanPrint = false;
        else if (word == "copy") s.bSecurityCanCopy = false;
        else if (word == "edit") s.bSecurityCanEdit = false;
        else if (word == "notes") s.bSecurityCanEditNotes = false;
        else if (!word.empty())
            throw CLI::ValidationError("--deny", "\"" + word + "\" is not one of print, copy, edit, notes");
    }
}

}  // namespace

void AddSplitOptions(CLI::App& split, SplitRequest& r) {
    split.add_option("input", r.input, "The PDF document to split")->required()->check(CLI::ExistingFile);
    split.add_option("--password", r.password, "Password that opens an encrypted input");

    auto* equal = split.add_option("--equal", r.equal, "Split into outputs of N pages each (the last holds the rest)")
                      ->check(CLI::PositiveNumber)
                      ->group("Split method");
    split.add_option("--bookmarks", r.bookmarks, "Split at the bookmarks of level A, or of levels A to B (top level is 1)")
        ->type_name("A[-B]")
        ->excludes(equal)
        ->group("Split method");

    const char* naming = "Output names and folder";
    split.add_option("-o,--output-folder", r.outputFolder, "Folder that receives the outputs")->group(naming);
    split.add_option("--prefix", r.prefix, "What names start with: nothing, the input's name, or today's date")
        ->type_name(ChoiceWords(kPrefixChoices))
        ->group(naming);
    split.add_option("--base", r.base, "Text put after the prefix in every name")->group(naming);
    split.add_option("--suffix", r.suffix,
                     "How an output without a name of its own ends: its number, a letter, its page span or the "
                     "label of its first page")
        ->type_name(ChoiceWords(kSuffixChoices))
        ->group(naming);

    const char* processing = "Processing and security (--no-X switches X off)";
    for (const FlagOption& f : kFlagOptions) {
        const std::string name = f.name;
        split.add_flag_callback("--" + name, [&r, name] { r.flags[name] = true; }, f.help)->group(processing);
        split.add_flag_callback("--no-" + name, [&r, name] { r.flags[name] = false; })->group("");
    }
    split.add_option("--open-password", r.openPassword, "Protect the outputs with a password needed to open them")
        ->group(processing);
    split.add_option("--permissions-password", r.permissionsPassword,
                     "Password needed to change the outputs' permissions")
        ->group(processing);
    split.add_option("--deny", r.deny, "Deny these permissions in the outputs")
        ->type_name("print,copy,edit,notes")
        ->group(processing);

    split.add_flag("--dry-run", r.dryRun,
                   "Print the planned outputs (number, file name, pages) as tab-separated lines; write nothing");
    split.add_flag("--reset", r.reset, "Start from the initial settings instead of the stored ones");
    split.add_flag("--quiet", r.quiet, "No progress bar and no final report");
    split.add_flag("--yes", r.yes, "Answer yes to every question");
}

void ApplySplitOptions(const SplitRequest& r, SplitSettings& s) {
    if (r.equal) {
        s.SplitMode = EqualPages;
        s.Output.NumEqualPages = *r.equal;
    }
    if (r.bookmarks) ApplyBookmarkLevels(*r.bookmarks, s);
    if (r.outputFolder) {
        std::string folder = r.outputFolder->empty() ? "" : std::filesystem::absolute(*r.outputFolder).string();
        if (!folder.empty() && folder.back() != '/') folder += '/';
        s.Filename.OutputFolder = folder;
    }
    if (r.prefix) s.Filename.FileNameAutoPrefix = ChoiceValue(kPrefixChoices, *r.prefix, "--prefix");
    if (r.base) s.Filename.OutputBaseFilename = *r.base;
    if (r.suffix) s.Filename.FileNameCosntructionMode = ChoiceValue(kSuffixChoices, *r.suffix, "--suffix");
    for (const FlagOption& f : kFlagOptions)
        if (const auto it = r.flags.find(f.name); it != r.flags.end()) *f.field(s) = it->second;
    if (r.openPassword) {
        s.Security.bPaswordProtect = true;
        s.Security.Password = *r.openPassword;
    }
    if (r.permissionsPassword) {
        s.Security.bPaswordProtect = true;
        s.Security.PermPassword = *r.permissionsPassword;
    }
    if (r.deny) ApplyDenied(*r.deny, s.Security);
}

}  // namespace tessera::app
