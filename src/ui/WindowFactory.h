#pragma once
// The dialogs' windows as the plug-in reaches them: the toolkit's factory is
// handed to the shell when the module starts (shell/PlugInMain.cpp), so no
// code of ui/ names the toolkit, and a process without one shows no window.
#include <memory>

#include "ui/Dialog.h"
#include "ui/DialogMemory.h"
#include "ui/SplitDialog.h"

namespace tessera {

class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    // The settings dialog in a window, for the split command when the host
    // shows windows, remembering in `memory` while the host runs.
    virtual std::unique_ptr<SplitDialog> NewSplitWindow(DialogMemory& memory) = 0;
    // Shows a dialog of its own (not over another dialog) modally; true when it closed with OK.
    virtual bool RunModal(Dialog& dialog) = 0;
};

}  // namespace tessera
