#pragma once
// The words, stored integers and captions of the settings' choices, declared
// once: the command line reads the words, the dialog's lists show the
// captions, profiles keep the integers and refuse or fold what lies past them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/SplitSettings.h"

namespace tessera {

template <class Value>
struct ChoiceRow {
    Value value;              // stored as its integer
    const char* word;         // the command line's word for it
    const char* captionKey;   // the dialog list's caption, a language-table key
};

// The naming modes, the name prefixes and the separator kinds, each in the
// order of their stored integers.
std::span<const ChoiceRow<NameConstructionMode>> NamingModeChoices();
std::span<const ChoiceRow<AutoPrefix>> PrefixChoices();
std::span<const ChoiceRow<SeparatorKind>> SeparatorChoices();

// The one naming mode that reads a page area, which must then be given.
inline constexpr NameConstructionMode kNamingModeWithArea = NameConstructionMode::AddTextFromPage;

// The value of `word`, or none when no row has it.
template <class Value>
std::optional<Value> ChoiceByWord(std::span<const ChoiceRow<Value>> rows, std::string_view word) {
    for (const ChoiceRow<Value>& row : rows)
        if (word == row.word) return row.value;
    return std::nullopt;
}

// "a, b, c": the words, for messages and help.
template <class Value>
std::string ChoiceWords(std::span<const ChoiceRow<Value>> rows) {
    std::string words;
    for (const ChoiceRow<Value>& row : rows) words += (words.empty() ? "" : ", ") + std::string(row.word);
    return words;
}

// True when the stored integer names a row.
template <class Value>
bool IsKnownChoice(std::span<const ChoiceRow<Value>> rows, Value value) {
    for (const ChoiceRow<Value>& row : rows)
        if (row.value == value) return true;
    return false;
}

}  // namespace tessera
