#include "model/SplitMethodTable.h"

#include "model/SplitSettings.h"

namespace tessera {

const SplitMethodRow* FindMethodRow(SplitMethod method) {
    for (const SplitMethodRow& row : kSplitMethodRows)
        if (row.method == method) return &row;
    return nullptr;
}

const SplitMethodRow* FindMethodRowByRadio(int radio) {
    for (const SplitMethodRow& row : kSplitMethodRows)
        if (row.radio == radio) return &row;
    return nullptr;
}

bool UsesValueChange(const SplitSettings& settings) {
    const SplitMethodRow* row = FindMethodRow(settings.SplitMode);
    return row && row->usesSeparator && settings.Output.SeparatorType == SeparatorKind::ValueChange;
}

bool UsesSeparatorQuery(const SplitSettings& settings) {
    const SplitMethodRow* row = FindMethodRow(settings.SplitMode);
    const OutputSettings& o = settings.Output;
    return row && row->usesSeparator &&
           (o.SeparatorType == SeparatorKind::PageMatchingText ||
            (o.SeparatorType == SeparatorKind::ValueChange && o.ChangeKey == ChangeKeyKind::PatternMatch));
}

}  // namespace tessera
