#pragma once
// The settings a split runs with when no window asks for them: the initial
// settings (or, when asked, the stored ones), then the fields the user gave
// as options, in order, checked as the window's OK checks them. A run that
// completed stores them only when asked, so that a command does the same
// whatever ran before it.
#include <memory>
#include <optional>
#include <string>

#include "options/CommandOptions.h"
#include "ui/DialogMemory.h"
#include "ui/SplitDialog.h"
#include "ui/WindowFactory.h"

namespace tessera {

class CommandLineSettings : public SplitDialog {
public:
    std::optional<SplitSettings> Run(unsigned pageCount, const DocumentHandle& document) override;
    void RunSucceeded(const SplitSettings& working) override;
};

// The dialog for this host: a window when the host shows them (and the
// module has a toolkit's windows), else the command line's fields.
std::unique_ptr<SplitDialog> ActiveSplitDialog(WindowFactory* windows, DialogMemory& memory);

}  // namespace tessera
