#pragma once
// "Extract Text From Page": a rectangle on the page, in the unit the user
// last chose (kept in the settings store between runs).
#include <string>

#include "model/Fixed16.h"
#include "ui/Dialog.h"

namespace tessera {

// In points.
struct PageArea {
    Fixed16 left, top, right, bottom;
};

class TextAreaDialog : public Dialog {
public:
    // An empty title keeps the dialog's own caption; the message tells what the area is for.
    TextAreaDialog(const PageArea& area, std::string title, std::string message);
    const PageArea& Result() const { return area_; }

    std::string Caption() const override { return "Extract Text From Page"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    bool Accept() override;

private:
    PageArea area_;
    std::string title_;
    std::string message_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
