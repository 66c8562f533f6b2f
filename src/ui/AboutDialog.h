#pragma once
// The about box: product, description and version.
#include <string>
#include <vector>

#include "ui/Dialog.h"

namespace tessera {

struct AboutTexts {
    std::string title;
    std::vector<std::string> lines;
};

AboutTexts MakeAboutTexts();
// Through the host's information window, for a host without dialog windows.
void ShowAboutDialog();

class AboutDialog : public Dialog {
public:
    std::string Caption() const override;
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    bool Accept() override { return true; }
};

}  // namespace tessera
