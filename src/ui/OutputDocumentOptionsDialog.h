#pragma once
// "Output Document Options": whether an output document is named
// automatically or by a name the user gives (without ".pdf").
#include <string>
#include <string_view>

#include "ui/Dialog.h"

namespace tessera {

class OutputDocumentOptionsDialog : public Dialog {
public:
    OutputDocumentOptionsDialog(bool customName, std::string name);
    bool CustomName() const { return customName_; }
    const std::string& Name() const { return name_; }

    std::string Caption() const override { return "Output Document Options"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    bool customName_;
    std::string name_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
