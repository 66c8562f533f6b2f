#pragma once
// The split methods as rows: what chooses each one (its radio button in the
// dialog, its command-line option) and which settings it reads, so that the
// dialog's enabling, the checks, the command line and profile loading all
// ask one table. The planner of each method is found by the same key in
// engine/MethodPlanners.h, the one place a run dispatches on the method.
#include <span>

#include "model/SplitSettings.h"

namespace tessera {

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

// Every method, in the order the dialog shows them.
std::span<const SplitMethodRow> SplitMethodRows();

// The row of a method; null for a stored integer that names none.
const SplitMethodRow* FindMethodRow(SplitMethod method);

// The row whose radio button is `radio`; null for any other control.
const SplitMethodRow* FindMethodRowByRadio(int radio);

// True when the run reads Output.SeparatorQuery: a separator split by text.
bool UsesSeparatorQuery(const SplitSettings& settings);

}  // namespace tessera
