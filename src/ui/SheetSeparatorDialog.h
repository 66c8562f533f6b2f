#pragma once
// "Separator Sheets of One Colour": the colour of the sheets put between
// documents, how far a scanned pixel may lie from it, and how much of a sheet
// must lie that near.
#include "model/SplitSettings.h"
#include "ui/OutputSettingsDialog.h"

namespace tessera {

class SheetSeparatorDialog : public OutputSettingsDialog {
public:
    // Takes and gives SheetColour, SheetTolerance and SheetShare.
    explicit SheetSeparatorDialog(const OutputSettings& settings) : OutputSettingsDialog(settings) {}

    std::string Caption() const override { return "Separator Sheets of One Colour"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    void ShowSwatch();
};

}  // namespace tessera
