#pragma once
// A separator kind's sub-dialog: it edits some of the output settings and
// gives them all back, changed where it was accepted.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"
#include "ui/Dialog.h"

namespace tessera {

class OutputSettingsDialog : public Dialog {
public:
    explicit OutputSettingsDialog(const OutputSettings& settings) : settings_(settings) {}
    const OutputSettings& Result() const { return settings_; }
    // The document whose pages its areas are drawn on; none for none.
    void SetDocument(const DocumentHandle* document) { document_ = document; }

protected:
    OutputSettings settings_;
    const DocumentHandle* document_ = nullptr;
    DialogView* view_ = nullptr;  // while the dialog is open
};

}  // namespace tessera
