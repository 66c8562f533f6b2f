#pragma once
// How the plug-in shows a dialog of its own (not over another dialog): through
// the window toolkit when the host runs one. Without one no dialog can be
// shown, and each ends as Cancel.
#include "ui/Dialog.h"

namespace tessera {

using ModalRunner = bool (*)(Dialog& dialog);

// The toolkit's runner; null takes it away again.
void SetModalRunner(ModalRunner runner);
// True when the dialog closed with OK.
bool RunModalDialog(Dialog& dialog);

}  // namespace tessera
