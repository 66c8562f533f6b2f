#pragma once
// The settings dialog in a window, as the split command's dialog when the
// host shows windows. The window reads and keeps the remembered settings
// itself; the options given with it (--profile included) are its starting
// values.
#include "ui/DialogMemory.h"
#include "ui/SplitDialog.h"
#include "ui/WindowFactory.h"

namespace tessera {

class WindowSplitDialog : public SplitDialog {
public:
    WindowSplitDialog(WindowFactory& windows, DialogMemory& memory) : windows_(windows), memory_(memory) {}

    std::optional<SplitSettings> Run(unsigned pageCount, const DocumentHandle& document) override;

private:
    WindowFactory& windows_;
    DialogMemory& memory_;
    // What OK last handed back: a window opened again after a refused run
    // starts from it, not from the options the user may have changed since.
    std::optional<SplitSettings> accepted_;
};

}  // namespace tessera
