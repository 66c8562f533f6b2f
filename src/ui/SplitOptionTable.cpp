#include "ui/SplitOptionTable.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

namespace tessera {
namespace {

using host::OptionKind;

// A value that does not fit its option.
struct BadValue : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int PositiveNumber(const std::string& text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        throw BadValue("expected a whole number from 1 up at \"" + text + "\" in \"" + whole + "\"");
    return value;
}

bool Switch(const std::string& value) { return value == "1"; }

struct Choice {
    const char* word;
    std::int32_t value;
};

std::int32_t Chosen(const std::vector<Choice>& choices, const std::string& word) {
    std::string known;
    for (const Choice& c : choices) {
        if (word == c.word) return c.value;
        known += (known.empty() ? "" : ", ") + std::string(c.word);
    }
    throw BadValue("\"" + word + "\" is not one of " + known);
}

const std::vector<Choice> kPrefixes = {{"none", PrefixNone}, {"name", PrefixFilename}, {"date", PrefixTodaysDate}};
const std::vector<Choice> kSuffixes = {
    {"number", AddNumber}, {"letter", AddLetter}, {"pages", AddPageRanges}, {"label", AddPageLabel}};

void Levels(const std::string& text, SplitSettings& s) {
    const std::size_t dash = text.find('-');
    s.SplitMode = BookmarkLevels;
    s.Output.StartBookmarkLevel = PositiveNumber(text.substr(0, dash), text);
    s.Output.EndBookmarkLevel = dash == std::string::npos ? s.Output.StartBookmarkLevel
                                                          : PositiveNumber(text.substr(dash + 1), text);
}

void Denied(const std::string& list, SecuritySettings& s) {
    s.bSecurityCanPrint = s.bSecurityCanCopy = s.bSecurityCanEdit = s.bSecurityCanEditNotes = true;
    std::istringstream in(list);
    for (std::string word; std::getline(in, word, ',');) {
        if (word == "print") s.bSecurityCanPrint = false;
        else if (word == "copy") s.bSecurityCanCopy = false;
        else if (word == "edit") s.bSecurityCanEdit = false;
        else if (word == "notes") s.bSecurityCanEditNotes = false;
        else throw BadValue("\"" + word + "\" is not one of print, copy, edit, notes");
    }
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

struct SplitOption {
    host::OptionSpec spec;
    void (*apply)(const std::string& value, SplitSettings& settings);
};

std::vector<std::string> Words(const std::vector<Choice>& choices) {
    std::vector<std::string> words;
    for (const Choice& c : choices) words.push_back(c.word);
    return words;
}

const std::vector<SplitOption>& Options() {
    static const char* kMethod = "Split method";
    static const char* kNaming = "Output names and folder";
    static const char* kProcessing = "Processing and security (--no-X switches X off)";
    static const std::vector<SplitOption> options = {
        {{"equal", "", OptionKind::PositiveInteger, {}, "Split into outputs of N pages each (the last holds the rest)", kMethod},
         [](const std::string& v, SplitSettings& s) {
             s.SplitMode = EqualPages;
             s.Output.NumEqualPages = PositiveNumber(v, v);
         }},
        {{"bookmarks", "", OptionKind::Levels, {}, "Split at the bookmarks of level A, or of levels A to B (top level is 1)", kMethod},
         [](const std::string& v, SplitSettings& s) { Levels(v, s); }},
        {{"output-folder", "o", OptionKind::Folder, {}, "Folder that receives the outputs", kNaming},
         [](const std::string& v, SplitSettings& s) { s.Filename.OutputFolder = WithSlash(v); }},
        {{"prefix", "", OptionKind::Choice, Words(kPrefixes), "What names start with: nothing, the input's name, or today's date", kNaming},
         [](const std::string& v, SplitSettings& s) { s.Filename.FileNameAutoPrefix = Chosen(kPrefixes, v); }},
        {{"base", "", OptionKind::Text, {}, "Text put after the prefix in every name", kNaming},
         [](const std::string& v, SplitSettings& s) { s.Filename.OutputBaseFilename = v; }},
        {{"suffix", "", OptionKind::Choice, Words(kSuffixes),
          "How an output without a name of its own ends: its number, a letter, its page span or the label of its first page", kNaming},
         [](const std::string& v, SplitSettings& s) { s.Filename.FileNameCosntructionMode = Chosen(kSuffixes, v); }},
        {{"folders", "", OptionKind::Switch, {}, "Put the outputs of a bookmark split into subfolders that follow the bookmark tree", kNaming},
         [](const std::string& v, SplitSettings& s) { s.Filename.CreateFoldersForBookmarks = Switch(v); }},
        {{"linearize", "", OptionKind::Switch, {}, "Save the outputs linearized (fast web view)", kProcessing},
         [](const std::string& v, SplitSettings& s) { s.Output.bLinearize = Switch(v); }},
        {{"remove-labels", "", OptionKind::Switch, {}, "Remove page labels from the outputs", kProcessing},
         [](const std::string& v, SplitSettings& s) { s.Output.bRemovePageLabels = Switch(v); }},
        {{"html-index", "", OptionKind::Switch, {}, "Write INPUT_index.htm into the output folder, linking every output", kProcessing},
         [](const std::string& v, SplitSettings& s) { s.Output.bCreateHTMLIndex = Switch(v); }},
        {{"open-password", "", OptionKind::Text, {}, "Protect the outputs with a password needed to open them", kProcessing},
         [](const std::string& v, SplitSettings& s) {
             s.Security.bPaswordProtect = true;
             s.Security.Password = v;
         }},
        {{"permissions-password", "", OptionKind::Text, {}, "Password needed to change the outputs' permissions", kProcessing},
         [](const std::string& v, SplitSettings& s) {
             s.Security.bPaswordProtect = true;
             s.Security.PermPassword = v;
         }},
        {{"deny", "", OptionKind::WordList, {"print", "copy", "edit", "notes"}, "Deny these permissions in the outputs", kProcessing},
         [](const std::string& v, SplitSettings& s) { Denied(v, s.Security); }},
    };
    return options;
}

}  // namespace

std::vector<host::OptionSpec> SplitOptionSpecs() {
    std::vector<host::OptionSpec> specs;
    for (const SplitOption& option : Options()) specs.push_back(option.spec);
    return specs;
}

bool ApplySplitOption(const host::OptionValue& option, SplitSettings& settings, std::string& error) {
    for (const SplitOption& known : Options()) {
        if (known.spec.name != option.name) continue;
        try {
            known.apply(option.value, settings);
            return true;
        } catch (const BadValue& bad) {
            error = "--" + option.name + ": " + bad.what();
            return false;
        }
    }
    error = "unknown option --" + option.name;
    return false;
}

}  // namespace tessera
