#pragma once
// "Page Where a Value Changes": what value starts an output where it changes
// (the words in an area, a pattern's match, the label's prefix, the page's
// size), what a page without one does, and whether pages of one value that
// come back later join its first output.
#include "model/SplitSettings.h"
#include "ui/OutputSettingsDialog.h"

namespace tessera {

class ValueChangeDialog : public OutputSettingsDialog {
public:
    // Takes and gives ChangeKey, MissingKeyStartsNew, GroupSameKey and the separator query.
    explicit ValueChangeDialog(const OutputSettings& settings);

    std::string Caption() const override { return "Page Where a Value Changes"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    void ShowEnabling();
};

}  // namespace tessera
