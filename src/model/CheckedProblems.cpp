#include "model/CheckedProblems.h"

#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {

void CheckedProblems::AddKey(const char* key, std::string field, ProblemKind kind) {
    Add(key, std::move(field), LookupString(key), kind);
}

void CheckedProblems::AddChoice(std::int32_t value, std::int32_t last, const std::string& field) {
    if (value >= 0 && value <= last) return;
    Add("IDS_VALUE_NOT_A_CHOICE", field,
        FormatText(LookupString("IDS_VALUE_NOT_A_CHOICE"),
                   {std::int64_t{value}, field, "0 to " + std::to_string(last)}));
}

void CheckPattern(const TextQuery& query, const std::string& field, const DocumentFacts& facts, CheckedProblems& out) {
    if (query.Pattern.empty() || !facts.patternFault) return;
    const std::optional<PatternFault> fault = facts.patternFault(query);
    if (!fault) return;
    out.Add("IDS_INVALID_SEARCH_PATTERN", field + "/Pattern",
            FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN",
                                    "The search pattern \"%s\" is not valid: %s (at offset %d)."),
                       {query.Pattern, fault->message, static_cast<std::int64_t>(fault->offset)}));
}

}  // namespace tessera
