#pragma once
// The words, stored integers and captions of the settings' choices, declared
// once: the command line reads the words, the dialog's lists show the
// captions, profiles keep the integers and refuse or fold what lies past them.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/SeparatorKindTable.h"
#include "model/SplitSettings.h"

namespace tessera {

template <class Value>
struct ChoiceRow {
    Value value;             // stored as its integer
    const char* word;        // the command line's word for it
    const char* captionKey;  // the dialog list's caption, a language-table key
};

// The naming modes and the name prefixes, each in the order of their stored
// integers.
inline constexpr ChoiceRow<NameConstructionMode> kNamingModeRows[] = {
    {NameConstructionMode::AddNumber, "number", "IDS_ADD_NUMBER"},
    {NameConstructionMode::AddLetter, "letter", "IDS_ADD_LETTER"},
    {NameConstructionMode::AddPageRanges, "pages", "IDS_ADD_PAGE_RANGES"},
    {NameConstructionMode::AddPageLabel, "label", "IDS_ADD_PAGE_LABEL"},
    {NameConstructionMode::AddTextFromPage, "text", "IDS_ADD_TEXT_FROM_PAGE"},
    {NameConstructionMode::UseTemplate, "template", "IDS_USE_NAME_TEMPLATE"},
};
inline constexpr ChoiceRow<AutoPrefix> kPrefixRows[] = {
    {AutoPrefix::PrefixNone, "none", "IDS_PREFIX_NONE"},
    {AutoPrefix::PrefixFilename, "name", "IDS_PREFIX_FILENAME"},
    {AutoPrefix::PrefixTodaysDate, "date", "IDS_PREFIX_TODAYSDATE"},
};
inline constexpr ChoiceRow<OcrMode> kOcrModeRows[] = {
    {OcrMode::Auto, "auto", "IDS_OCR_AUTO"},
    {OcrMode::Always, "always", "IDS_OCR_ALWAYS"},
    {OcrMode::Never, "never", "IDS_OCR_NEVER"},
};
// The separator kinds' words and captions, from their table.
inline constexpr auto kSeparatorRows = [] {
    std::array<ChoiceRow<SeparatorKind>, std::size(kSeparatorKindRows)> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {kSeparatorKindRows[i].kind, kSeparatorKindRows[i].word, kSeparatorKindRows[i].captionKey};
    return rows;
}();
// The kinds of code a code separator reads, each a bit of CodeKinds.
inline constexpr ChoiceRow<host::CodeKind> kCodeKindRows[] = {
    {host::kQrCode, "qr", "IDS_CODE_QR"},        {host::kDataMatrix, "datamatrix", "IDS_CODE_DATAMATRIX"},
    {host::kCode128, "code128", "IDS_CODE_128"}, {host::kCode39, "code39", "IDS_CODE_39"},
    {host::kEanUpc, "ean", "IDS_CODE_EAN_UPC"},  {host::kPdf417, "pdf417", "IDS_CODE_PDF417"},
    {host::kAztec, "aztec", "IDS_CODE_AZTEC"},
};
constexpr std::span<const ChoiceRow<NameConstructionMode>> NamingModeChoices() { return kNamingModeRows; }
constexpr std::span<const ChoiceRow<AutoPrefix>> PrefixChoices() { return kPrefixRows; }
constexpr std::span<const ChoiceRow<SeparatorKind>> SeparatorChoices() { return kSeparatorRows; }
constexpr std::span<const ChoiceRow<host::CodeKind>> CodeKindChoices() { return kCodeKindRows; }
constexpr std::span<const ChoiceRow<OcrMode>> OcrModeChoices() { return kOcrModeRows; }

// The rows of a choice's type, for code that holds a field of it.
constexpr std::span<const ChoiceRow<NameConstructionMode>> ChoicesOf(NameConstructionMode) { return kNamingModeRows; }
constexpr std::span<const ChoiceRow<AutoPrefix>> ChoicesOf(AutoPrefix) { return kPrefixRows; }
constexpr std::span<const ChoiceRow<SeparatorKind>> ChoicesOf(SeparatorKind) { return kSeparatorRows; }
constexpr std::span<const ChoiceRow<OcrMode>> ChoicesOf(OcrMode) { return kOcrModeRows; }

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

// The words alone, for a front end that offers or checks them.
template <class Value>
std::vector<std::string> ChoiceWordList(std::span<const ChoiceRow<Value>> rows) {
    std::vector<std::string> words;
    for (const ChoiceRow<Value>& row : rows) words.emplace_back(row.word);
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
