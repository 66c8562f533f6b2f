#pragma once
// The settings dialog driven by the command line: the stored settings (or the
// initial ones), then the fields the user gave as options, in order.
#include "ui/SplitDialog.h"

namespace tessera {

class CommandLineDialog : public SplitDialog {
public:
    bool Run(SplitSettings& working, OutputList& accepted, unsigned pageCount, const DocumentHandle& document) override;
};

}  // namespace tessera
