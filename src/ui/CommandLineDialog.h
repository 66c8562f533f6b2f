#pragma once
// The settings dialog driven by the command line: the initial settings (or,
// when asked, the stored ones), then the fields the user gave as options, in
// order. A run that completed stores them only when asked, so that a command
// does the same whatever ran before it.
#include "ui/SplitDialog.h"

namespace tessera {

class CommandLineDialog : public SplitDialog {
public:
    bool Run(SplitSettings& working, OutputList& accepted, unsigned pageCount, const DocumentHandle& document) override;
    void RunSucceeded(const SplitSettings& working) override;
};

}  // namespace tessera
