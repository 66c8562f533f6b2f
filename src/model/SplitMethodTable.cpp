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

}  // namespace tessera
