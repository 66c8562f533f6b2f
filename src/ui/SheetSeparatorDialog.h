#pragma once
// "Separator Sheets of One Colour": the colour of the sheets put between
// documents, how far a scanned pixel may lie from it, and how much of a sheet
// must lie that near.
#include "model/SplitSettings.h"
#include "ui/Dialog.h"

namespace tessera {

class SheetSeparatorDialog : public Dialog {
public:
    // Takes and gives SheetColour, SheetTolerance and SheetShare.
    explicit SheetSeparatorDialog(const OutputSettings& settings) : settings_(settings) {}
    const OutputSettings& Result() const { return settings_; }

    std::string Caption() const override { return "Separator Sheets of One Colour"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    void ShowSwatch();

    OutputSettings settings_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
