#pragma once
// The split methods as rows: what chooses each one (its radio button in the
// dialog, its command-line option) and which settings it reads, so that the
// dialog's enabling, the checks, the command line and profile loading all
// ask one table. The planner of each method is found by the same key in
// engine/OutputPlanner.cpp, the one place a run dispatches on the method.
#include <cstdint>
#include <span>

namespace tessera {

struct SplitSettings;

// The stored integer of each method; a stored integer that names none is
// carried as it is and plans nothing (the output list stays as it is).
// A new method is an enumerator here, its row below, its planner (in
// engine/OutputPlanner.cpp), its radio and its command-line option.
// BySize takes every page, in outputs no larger than Output.MaxOutputBytes,
// the limit that cuts any other method's outputs further.
enum class SplitMethod : std::int32_t {
    EqualPages = 0,
    BookmarkLevels = 1,
    ManualRanges = 2,
    SeparatorPages = 3,
    BySize = 4,
};

struct SplitMethodRow {
    SplitMethod method;
    const char* option;  // the command-line option that chooses it, without "--"
    int radio;           // the number of its radio button in the settings dialog
    // The fields it reads; a field it does not read is neither checked nor
    // offered for editing while it is chosen.
    bool usesPagesEach = false;       // Output.NumEqualPages
    bool usesBookmarkLevels = false;  // Output.StartBookmarkLevel, EndBookmarkLevel
    bool needsBookmarks = false;      // the document must have bookmarks
    bool usesOutputList = false;      // the hand-made outputs, their texts and watermarks
    bool usesSeparator = false;       // Output.SeparatorType, BlankPageThreshold, and the query of a text kind
    bool namesFromBookmarks = false;  // names come from bookmarks: the naming mode is not read
};

// Every method, in the order the dialog shows them. The radio numbers are
// those of the settings dialog's resource.
inline constexpr SplitMethodRow kSplitMethodRows[] = {
    {.method = SplitMethod::EqualPages, .option = "equal", .radio = 1103, .usesPagesEach = true},
    {.method = SplitMethod::BookmarkLevels,
     .option = "bookmarks",
     .radio = 1104,
     .usesBookmarkLevels = true,
     .needsBookmarks = true,
     .namesFromBookmarks = true},
    {.method = SplitMethod::ManualRanges, .option = "doc", .radio = 1106, .usesOutputList = true},
    {.method = SplitMethod::SeparatorPages, .option = "separator", .radio = 1105, .usesSeparator = true},
    {.method = SplitMethod::BySize, .option = "max-size", .radio = 1107},
};
constexpr std::span<const SplitMethodRow> SplitMethodRows() { return kSplitMethodRows; }

// The row of a method; null for a stored integer that names none.
const SplitMethodRow* FindMethodRow(SplitMethod method);

// The row whose radio button is `radio`; null for any other control.
const SplitMethodRow* FindMethodRowByRadio(int radio);

}  // namespace tessera
