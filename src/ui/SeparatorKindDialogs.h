#pragma once
// Each separator kind's sub-dialog, which edits the kind's own settings: the
// "..." button beside the settings dialog's separator list. A kind without
// one leaves the button greyed.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

class DialogView;

// Whether the kind has settings of its own to edit.
bool HasSeparatorDialog(SeparatorKind kind);
// Whether its sub-dialog starts from the fields as they are on screen, which
// the settings dialog must read first (the value area shown in its units).
bool SeparatorDialogReadsFields(SeparatorKind kind);
// Runs the kind's sub-dialog over `output`; true when it was accepted. Its
// areas are drawn on the document's pages where one is given.
bool EditSeparatorKind(SeparatorKind kind, DialogView& view, OutputSettings& output,
                       const DocumentHandle* document = nullptr);

}  // namespace tessera
