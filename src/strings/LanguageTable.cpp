#include "strings/LanguageTable.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "strings/Utf8Text.h"

namespace tessera {
namespace {

// The few keys whose default is the program's own: descriptions of ranges and
// queries and the names of page elements stay readable without language files.
const std::unordered_map<std::string_view, std::string_view>& BuiltInDefaults() {
    static const std::unordered_map<std::string_view, std::string_view> defaults = {
        {"IDS_QUERY", "Query"},
        {"IDS_MATCHING", "Matching"},
        {"IDS_AND", "And"},
        {"IDS_SINGLE_PAGE", "Single Page"},
        {"IDS_PAGE_RANGE", "Page Range"},
        {"IDS_SET_OF_PAGES_CONTAINING_SC", "Set of Pages Containing:"},
        {"IDS_SET_OF_PAGES", "Set of Pages"},
        {"IDS_PAGES", "pages"},
        {"IDS_PAGE", "page"},
        {"IDS_FORMAT_ALL_PAGES_FROM", "All Pages from %d to %d (%d %s)"},
        {"IDS_FORMAT_EVEN_PAGES_FROM", "Even Pages from %d to %d (%d %s)"},
        {"IDS_FORMAT_ODD_PAGES_FROM", "Odd Pages from %d to %d (%d %s)"},
        {"IDS_REVERSE_ORDER", "Reverse Order"},
        {"IDS_WATERMARK", "Watermark"},
        {"IDS_ELEMENT", "Element"},
    };
    return defaults;
}

}  // namespace

bool LanguageTable::LoadFile(const std::string& path) {
    // A pipe or a device in the file's place (/dev/zero) would be read
    // without end at every start: only a regular file of sane size is a table.
    constexpr std::uintmax_t kMostBytes = std::uintmax_t{4} << 20;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMostBytes || error)
        return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file) return false;
    char piece[512];
    while (std::fgets(piece, sizeof piece, file.get())) LoadPiece(piece);
    return true;
}

void LanguageTable::LoadPiece(std::string_view piece) {
    if (piece.size() < 2) return;
    std::size_t start = 0;
    while (start < piece.size() && IsBlank(piece[start])) ++start;
    piece.remove_prefix(start);
    if (piece.empty() || piece.front() == '#') return;
    const std::size_t eq = piece.find('=');
    if (eq == std::string_view::npos || eq == 0) return;
    entries_[TrimRight(piece.substr(0, eq))] = TrimRight(piece.substr(eq + 1));
}

const std::string* LanguageTable::Find(std::string_view key) const {
    const auto it = entries_.find(std::string(key));
    return it == entries_.end() ? nullptr : &it->second;
}

LanguageTable& TheLanguageTable() {
    static LanguageTable table;
    return table;
}

std::string LookupString(std::string_view key, std::string_view fallback) {
    if (const std::string* value = TheLanguageTable().Find(key)) return *value;
    return std::string(fallback);
}

std::string LookupString(std::string_view key) {
    const auto& defaults = BuiltInDefaults();
    const auto it = defaults.find(key);
    return LookupString(key, it == defaults.end() ? std::string_view() : it->second);
}

bool LoadLanguageFile(const std::string& path) { return TheLanguageTable().LoadFile(path); }

std::string ShownCaption(const std::string& english) {
    return english.empty() ? english : LookupString("CAPTION " + english, english);
}

std::vector<std::string> UserLanguages() {
    // As gettext: the messages' locale decides, and only a locale other than
    // C lets LANGUAGE's list of languages come first.
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(variable); value && *value) {
            locale = value;
            break;
        }
    const auto code = [](const std::string& name) { return name.substr(0, name.find_first_of(".@")); };
    if (locale.empty() || code(locale) == "C" || code(locale) == "POSIX") return {};
    std::vector<std::string> wanted;
    if (const char* list = std::getenv("LANGUAGE"); list && *list) {
        std::istringstream in(list);
        for (std::string entry; std::getline(in, entry, ':');)
            if (!entry.empty()) wanted.push_back(entry);
    }
    wanted.push_back(locale);
    std::vector<std::string> codes;
    for (const std::string& name : wanted) {
        const std::string language = code(name);
        // English is the files without a code.
        if (language.starts_with("en")) break;
        codes.push_back(language);
        if (const std::size_t underscore = language.find('_'); underscore != std::string::npos)
            codes.push_back(language.substr(0, underscore));
    }
    return codes;
}

std::vector<std::string> LoadLanguageTables(const std::string& folder) {
    std::vector<std::string> missing;
    for (const char* name : {"LanguageTable.lan", "Tessera.lan"})
        if (!LoadLanguageFile(folder + name)) missing.emplace_back(name);
    // The user's language over English, key by key: a text it lacks stays English.
    for (const std::string& code : UserLanguages()) {
        bool found = false;
        for (const char* name : {"LanguageTable.", "Tessera."})
            found = LoadLanguageFile(folder + name + code + ".lan") || found;
        if (found) break;
    }
    return missing;
}

}  // namespace tessera
