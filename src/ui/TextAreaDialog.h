#pragma once
// "Extract Text From Page": a rectangle on the page, in the unit the user
// last chose (kept in the settings store between runs). Over a document, it
// can be drawn on a page's picture instead, which shows the words inside.
#include <memory>
#include <string>

#include "access/DocumentHandle.h"
#include "model/PageArea.h"
#include "model/SplitSettings.h"
#include "ui/Dialog.h"

namespace tessera {

// What the area is for, as the settings dialog and the separator search say it:
// keys of the language files.
inline constexpr const char* kNameAreaMessage = "IDS_NAME_AREA_HELP";
// The name area's, where a page is shown to draw it on instead of the sample.
inline constexpr const char* kNameAreaOnPageMessage = "IDS_NAME_AREA_ON_PAGE_HELP";
inline constexpr const char* kSearchAreaMessage = "IDS_SEARCH_AREA_HELP";

class TextAreaDialog : public Dialog {
public:
    // An empty title keeps the dialog's own caption; the message tells what
    // the area is for. With a document, its pages (read as `ocr` says) are
    // shown to draw on.
    TextAreaDialog(const PageArea& area, std::string title, std::string message,
                   const DocumentHandle* document = nullptr, const OcrSettings& ocr = {});
    ~TextAreaDialog() override;
    const PageArea& Result() const { return area_; }

    std::string Caption() const override { return "Extract Text From Page"; }
    std::vector<ControlSpec> Controls() const override;
    std::vector<ControlId> AlignedGroups() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    struct Pages;
    // The four edges as typed, in the unit chosen; none while one is not a number.
    std::optional<PageArea> EdgesTyped() const;
    // That area with its edges in order.
    std::optional<PageArea> TypedArea() const;
    // The page with the typed area on it, and the words inside.
    void ShowPage();
    void TakeDrawnArea();

    PageArea area_;
    std::string title_;
    std::string message_;
    DialogView* view_ = nullptr;
    const DocumentHandle* document_;
    OcrSettings ocr_;
    std::unique_ptr<Pages> pages_;  // while open over a document
};

}  // namespace tessera
