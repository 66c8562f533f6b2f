#pragma once
// The table of user-visible texts, read from the two language files beside
// the module. Keys are case-sensitive; a later value replaces an earlier one.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessera {

class LanguageTable {
public:
    // False when the file is no regular file of at most 4 MiB (a pipe, a
    // device) or cannot be opened for reading.
    bool LoadFile(const std::string& path);
    // One piece of a file (a line, or up to 511 characters of one).
    void LoadPiece(std::string_view piece);
    const std::string* Find(std::string_view key) const;
    void Clear() { entries_.clear(); }
    const std::unordered_map<std::string, std::string>& Entries() const { return entries_; }

private:
    std::unordered_map<std::string, std::string> entries_;
};

// The process-wide table, filled at start-up and read-only afterwards.
LanguageTable& TheLanguageTable();

// The table's value for key (also when it is empty), else the default. Without
// a default, the program's own English default for the few keys that have
// one, else the empty text.
std::string LookupString(std::string_view key);
std::string LookupString(std::string_view key, std::string_view fallback);

bool LoadLanguageFile(const std::string& path);
// A dialog's caption in the user's language: the language file's
// "CAPTION English caption" key, else the English caption as it is.
std::string ShownCaption(const std::string& english);
// The languages the user asks for, most wanted first, as codes of language
// files ("de_AT", then "de"): the first set of LC_ALL, LC_MESSAGES and LANG
// decides, after LANGUAGE's list when it is set; empty for English, and for
// no locale or the C locale (whatever LANGUAGE says, as gettext does).
std::vector<std::string> UserLanguages();
// Loads "LanguageTable.lan", then "Tessera.lan", from folder (which ends in
// "/"), then over them "LanguageTable.CODE.lan" and "Tessera.CODE.lan" of
// the first of UserLanguages that has either; returns the names of the
// English files that could not be read.
std::vector<std::string> LoadLanguageTables(const std::string& folder);

}  // namespace tessera
