#pragma once
// "Separator Page by Text Search": the text that marks a separator page and
// the area of the page it is searched in.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"
#include "model/TextQuery.h"
#include "ui/Dialog.h"

namespace tessera {

class SeparatorSearchDialog : public Dialog {
public:
    // Its area is drawn on the document's pages, read as `ocr` says, where one is given.
    explicit SeparatorSearchDialog(const TextQuery& query, const DocumentHandle* document = nullptr,
                                   const OcrSettings& ocr = {});
    const TextQuery& Result() const { return query_; }

    std::string Caption() const override { return "Separator Page by Text Search"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    void ShowArea();

    TextQuery query_;
    const DocumentHandle* document_;
    OcrSettings ocr_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
