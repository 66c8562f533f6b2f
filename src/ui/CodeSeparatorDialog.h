#pragma once
// "Separator Sheets With a Code": which codes mark a separator sheet, by
// their kinds and a pattern their text must match (any code when it is empty).
#include "model/SplitSettings.h"
#include "ui/OutputSettingsDialog.h"

namespace tessera {

class CodeSeparatorDialog : public OutputSettingsDialog {
public:
    explicit CodeSeparatorDialog(const OutputSettings& settings) : OutputSettingsDialog(settings) {}

    std::string Caption() const override { return "Separator Sheets With a Code"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    bool Accept() override;
};

}  // namespace tessera
