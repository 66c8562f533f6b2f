#pragma once
// "Blank Image Page Settings": how noisy a scanned page may be and still
// count as blank.
#include "ui/Dialog.h"

namespace tessera {

class BlankImageSettingsDialog : public Dialog {
public:
    explicit BlankImageSettingsDialog(int threshold);
    int Result() const { return threshold_; }

    std::string Caption() const override { return "Blank Image Page Settings"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    int threshold_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
