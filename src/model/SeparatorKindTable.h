#pragma once
// The separator kinds as rows: the word and caption that choose each one,
// what --separator takes of it, what it reads of each page, whether its
// separators are sheets (so that --duplex and --keep-separators apply), and
// the check of its own fields. The command line, the dialog, the settings
// check, the planner and the page scan all ask this table; the parser of
// each kind's option value (kSeparatorValueRows in options/SplitOptionTable)
// and its sub-dialog (ui/SeparatorKindDialogs) are kept beside it, and the
// rows test checks every kind has them.
//
// A new kind is an enumerator (model/SplitSettings.h), its row here, its
// value's parser, its caption, and the code that reads its pages.
#include <span>
#include <string>

#include "model/SplitSettings.h"

namespace tessera {

struct DocumentFacts;
class CheckedProblems;

// What a kind reads of each page to find its separators.
enum class SeparatorScan {
    NoContent,  // nothing drawn on the page
    NoInk,      // a scanned page without ink, at the blank threshold
    Text,       // the page's words, against the separator query
    Values,     // a value compared from page to page (its area's words, a match, a label, the size)
    Codes,      // barcodes and 2-D codes, from the page drawn as pixels
    Colours,    // the colour most of the sheet has, from the page drawn as pixels
};

// Adds what is wrong with the kind's own fields of the output settings.
using SeparatorCheck = void (*)(const OutputSettings& output, const DocumentFacts& facts, CheckedProblems& out);

void CheckValueChangeFields(const OutputSettings& output, const DocumentFacts& facts, CheckedProblems& out);
void CheckCodeFields(const OutputSettings& output, const DocumentFacts& facts, CheckedProblems& out);
void CheckSheetFields(const OutputSettings& output, const DocumentFacts& facts, CheckedProblems& out);

struct SeparatorKindRow {
    SeparatorKind kind;
    const char* word;        // --separator's word for it, and its value's start ("scan", "scan=")
    const char* captionKey;  // the dialog list's caption, a language-table key
    const char* forms;       // what --separator takes of it, as its refusal lists them
    SeparatorScan scan;
    bool sheets = false;        // a found page is a sheet between documents: --duplex and --keep-separators apply
    bool startsOutput = false;  // a found page starts the next output rather than being dropped
    SeparatorCheck check = nullptr;
};

// Every kind, in the order of their stored integers (the dialog list's order).
inline constexpr SeparatorKindRow kSeparatorKindRows[] = {
    {.kind = SeparatorKind::BlankPage,
     .word = "blank",
     .captionKey = "IDS_BLANK_PAGE",
     .forms = "blank",
     .scan = SeparatorScan::NoContent,
     .sheets = true},
    {.kind = SeparatorKind::BlankImagePage,
     .word = "scan",
     .captionKey = "IDS_BLANK_IMAGE_PAGE",
     .forms = "scan, scan=SENSITIVITY",
     .scan = SeparatorScan::NoInk,
     .sheets = true},
    {.kind = SeparatorKind::PageMatchingText,
     .word = "text",
     .captionKey = "IDS_PAGE_MATCHING_TEXT",
     .forms = "text=PATTERN",
     .scan = SeparatorScan::Text,
     .startsOutput = true},
    {.kind = SeparatorKind::ValueChange,
     .word = "change",
     .captionKey = "IDS_PAGE_WHERE_VALUE_CHANGES",
     .forms = "change=WHAT",
     .scan = SeparatorScan::Values,
     .check = CheckValueChangeFields},
    {.kind = SeparatorKind::PageWithCode,
     .word = "code",
     .captionKey = "IDS_PAGE_WITH_CODE",
     .forms = "code, code=REGEX",
     .scan = SeparatorScan::Codes,
     .sheets = true,
     .check = CheckCodeFields},
    {.kind = SeparatorKind::ColouredSheet,
     .word = "sheet",
     .captionKey = "IDS_COLOURED_SHEET",
     .forms = "sheet=COLOUR",
     .scan = SeparatorScan::Colours,
     .sheets = true,
     .check = CheckSheetFields},
};
constexpr std::span<const SeparatorKindRow> SeparatorKindRows() { return kSeparatorKindRows; }

// The row of a kind; null for a stored integer that names none.
const SeparatorKindRow* FindSeparatorKindRow(SeparatorKind kind);
// The row of the kind the settings split at; null when their method splits
// at no separator, or at a stored integer that names no kind.
const SeparatorKindRow* SeparatorKindOf(const SplitSettings& settings);

// "blank, scan, scan=SENSITIVITY, ... or sheet=COLOUR": every kind's forms.
std::string SeparatorForms();

// True when the run reads Output.SeparatorQuery: a separator split by text.
bool UsesSeparatorQuery(const SplitSettings& settings);
// Whether the settings split where a value changes.
bool UsesValueChange(const SplitSettings& settings);

}  // namespace tessera
