#pragma once
// The problems the settings check finds, gathered as they are found: the
// check itself and each separator kind's own check add to one list.
#include <cstdint>
#include <string>
#include <vector>

#include "model/SettingsCheck.h"

namespace tessera {

// The problems found so far, each with its message made as it is found.
class CheckedProblems {
public:
    void Add(const char* key, std::string field, std::string text, ProblemKind kind = ProblemKind::Refused) {
        list_.push_back({key, std::move(field), std::move(text), kind});
    }
    void AddKey(const char* key, std::string field, ProblemKind kind = ProblemKind::Refused);
    // A stored integer that names no entry of its choice list.
    void AddChoice(std::int32_t value, std::int32_t last, const std::string& field);
    std::vector<SettingsProblem> Take() { return std::move(list_); }

private:
    std::vector<SettingsProblem> list_;
};

// A pattern the search engine refuses, under `field` + "/Pattern".
void CheckPattern(const TextQuery& query, const std::string& field, const DocumentFacts& facts, CheckedProblems& out);

}  // namespace tessera
