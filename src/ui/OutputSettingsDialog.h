#pragma once
// A separator kind's sub-dialog: it edits some of the output settings and
// gives them all back, changed where it was accepted.
#include "model/SplitSettings.h"
#include "ui/Dialog.h"

namespace tessera {

class OutputSettingsDialog : public Dialog {
public:
    explicit OutputSettingsDialog(const OutputSettings& settings) : settings_(settings) {}
    const OutputSettings& Result() const { return settings_; }

protected:
    OutputSettings settings_;
    DialogView* view_ = nullptr;  // while the dialog is open
};

}  // namespace tessera
