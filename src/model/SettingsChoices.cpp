#include "model/SettingsChoices.h"

namespace tessera {
namespace {

constexpr ChoiceRow<NameConstructionMode> kNamingModeRows[] = {
    {NameConstructionMode::AddNumber, "number", "IDS_ADD_NUMBER"},
    {NameConstructionMode::AddLetter, "letter", "IDS_ADD_LETTER"},
    {NameConstructionMode::AddPageRanges, "pages", "IDS_ADD_PAGE_RANGES"},
    {NameConstructionMode::AddPageLabel, "label", "IDS_ADD_PAGE_LABEL"},
    {NameConstructionMode::AddTextFromPage, "text", "IDS_ADD_TEXT_FROM_PAGE"},
};

constexpr ChoiceRow<AutoPrefix> kPrefixRows[] = {
    {AutoPrefix::PrefixNone, "none", "IDS_PREFIX_NONE"},
    {AutoPrefix::PrefixFilename, "name", "IDS_PREFIX_FILENAME"},
    {AutoPrefix::PrefixTodaysDate, "date", "IDS_PREFIX_TODAYSDATE"},
};

constexpr ChoiceRow<SeparatorKind> kSeparatorRows[] = {
    {SeparatorKind::BlankPage, "blank", "IDS_BLANK_PAGE"},
    {SeparatorKind::BlankImagePage, "scan", "IDS_BLANK_IMAGE_PAGE"},
    {SeparatorKind::PageMatchingText, "text", "IDS_PAGE_MATCHING_TEXT"},
};

}  // namespace

std::span<const ChoiceRow<NameConstructionMode>> NamingModeChoices() { return kNamingModeRows; }
std::span<const ChoiceRow<AutoPrefix>> PrefixChoices() { return kPrefixRows; }
std::span<const ChoiceRow<SeparatorKind>> SeparatorChoices() { return kSeparatorRows; }

}  // namespace tessera
