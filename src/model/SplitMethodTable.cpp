#include "model/SplitMethodTable.h"

namespace tessera {
namespace {

// The radio numbers are those of the dialog's resource.
constexpr SplitMethodRow kMethodRows[] = {
    {.method = SplitMethod::EqualPages, .option = "equal", .radio = 1103, .usesPagesEach = true},
    {.method = SplitMethod::BookmarkLevels,
     .option = "bookmarks",
     .radio = 1104,
     .usesBookmarkLevels = true,
     .needsBookmarks = true,
     .namesFromBookmarks = true},
    {.method = SplitMethod::ManualRanges, .option = "doc", .radio = 1106, .usesOutputList = true},
    {.method = SplitMethod::SeparatorPages, .option = "separator", .radio = 1105, .usesSeparator = true},
};

}  // namespace

std::span<const SplitMethodRow> SplitMethodRows() { return kMethodRows; }

const SplitMethodRow* FindMethodRow(SplitMethod method) {
    for (const SplitMethodRow& row : kMethodRows)
        if (row.method == method) return &row;
    return nullptr;
}

const SplitMethodRow* FindMethodRowByRadio(int radio) {
    for (const SplitMethodRow& row : kMethodRows)
        if (row.radio == radio) return &row;
    return nullptr;
}

bool UsesSeparatorQuery(const SplitSettings& settings) {
    const SplitMethodRow* row = FindMethodRow(settings.SplitMode);
    return row && row->usesSeparator && settings.Output.SeparatorType == SeparatorKind::PageMatchingText;
}

}  // namespace tessera
