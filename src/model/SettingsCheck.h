#pragma once
// The one check of a settings record. The window's OK and its Accept, the
// command line, profiles and batch parameters as they load, and the run
// itself all ask it, so every route refuses the same settings for the same
// reasons, and before a page is scanned.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/PageArea.h"
#include "model/SplitSettings.h"

namespace tessera {

// Why a search pattern does not compile: the search engine's words and the
// offset in the pattern as the user wrote it.
struct PatternFault {
    std::string message;
    std::size_t offset = 0;
};

// What the check needs of the document to split, handed in by the caller.
struct DocumentFacts {
    bool hasDocument = false;
    bool hasBookmarks = true;  // read only with a document
    // The search's own verdict on a query's pattern (empty patterns are not
    // asked about). The model cannot compile patterns itself: only the engine
    // that searches knows what it takes. Unset: patterns are not checked.
    std::function<std::optional<PatternFault>(const TextQuery&)> patternFault;
    // The named groups of a regular expression, for the fields of a name
    // template; unset: templates' fields are not checked against patterns.
    std::function<std::vector<std::string>(const std::string&)> groupNames;
    // Why text recognition cannot read the languages asked ("eng+xyz"):
    // the data of one is not installed; none when it can. Unset: not asked.
    std::function<std::optional<std::string>(const std::string&)> ocrLanguagesFault;
};

enum class ProblemKind {
    // The split method's own fields make no split yet; the window keeps OK
    // disabled until they do.
    MethodIncomplete,
    // Anything else no run takes; the window says so when OK is pressed.
    Refused,
};

struct SettingsProblem {
    std::string key;    // the message's key in the language files
    std::string field;  // the stored field it concerns, as profiles name it ("Doc0/Range1/Watermark")
    std::string text;   // the message, its details filled in
    ProblemKind kind = ProblemKind::Refused;
};

// Every problem of the record, in the order a user reads them: the method's
// fields, the output folder, the passwords, then each stored value. Passwords
// are judged without the blanks at their ends, which a run drops.
std::vector<SettingsProblem> CheckSettings(const SplitSettings& settings, const DocumentFacts& facts);

// The values no route takes whatever the method and document: choices no
// list holds, watermarks that cannot be drawn, areas with edges out of
// order. What a profile or batch parameters are refused for as they load.
std::vector<SettingsProblem> CheckStoredValues(const SplitSettings& settings);

// An area's own rule, the same for every route: edges in points from the top
// left of the page, none below 0, right not left of left, bottom not above
// top. The message of an area that breaks it; none for one that keeps it.
std::optional<std::string> AreaRefusal(const PageArea& area);

// Drops the blanks at either end of both passwords; true when a password that
// is left lost some, which the user is told.
bool TrimPasswords(SecuritySettings& security);

}  // namespace tessera
