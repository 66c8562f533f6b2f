#pragma once
// "Extract Text From Page": a rectangle on the page, in the unit the user
// last chose (kept in the settings store between runs).
#include <string>

#include "model/PageArea.h"
#include "ui/Dialog.h"

namespace tessera {

// What the area is for, as the settings dialog and the separator search say it:
// keys of the language files.
inline constexpr const char* kNameAreaMessage = "IDS_NAME_AREA_HELP";
inline constexpr const char* kSearchAreaMessage = "IDS_SEARCH_AREA_HELP";

class TextAreaDialog : public Dialog {
public:
    // An empty title keeps the dialog's own caption; the message tells what the area is for.
    TextAreaDialog(const PageArea& area, std::string title, std::string message);
    const PageArea& Result() const { return area_; }

    std::string Caption() const override { return "Extract Text From Page"; }
    std::vector<ControlSpec> Controls() const override;
    std::vector<ControlId> AlignedGroups() const override;
    void Open(DialogView& view) override;
    bool Accept() override;

private:
    PageArea area_;
    std::string title_;
    std::string message_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
