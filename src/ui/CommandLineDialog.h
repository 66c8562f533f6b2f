#pragma once
// The settings dialog driven by the command line: the initial settings (or,
// when asked, the stored ones), then the fields the user gave as options, in
// order. A run that completed stores them only when asked, so that a command
// does the same whatever ran before it.
#include <memory>
#include <optional>
#include <string>

#include "ui/DialogMemory.h"
#include "ui/SplitDialog.h"
#include "ui/WindowFactory.h"

namespace tessera {

// What the options asked for besides the fields.
struct GivenOptions {
    bool any = false;     // some option was given
    bool folder = false;  // --output-folder
    std::string saveProfile;
};

// --profile, then the options in order, over `working`; the outputs of --doc
// replace its list. None after the refusal was reported.
std::optional<GivenOptions> ApplyCommandOptions(SplitSettings& working, unsigned pageCount);

class CommandLineDialog : public SplitDialog {
public:
    std::optional<SplitSettings> Run(unsigned pageCount, const DocumentHandle& document) override;
    void RunSucceeded(const SplitSettings& working) override;
};

// The dialog for this host: a window when the host shows them (and the
// module has a toolkit's windows), else the command line's fields.
std::unique_ptr<SplitDialog> ActiveSplitDialog(WindowFactory* windows, DialogMemory& memory);

}  // namespace tessera
