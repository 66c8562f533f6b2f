#pragma once
// "Extract Pages By Text Search": the query of a range whose pages are those
// whose text matches, one page, a set of pages, or ranges from a first to a
// last matching page.
#include "model/PageQuery.h"
#include "ui/Dialog.h"

namespace tessera {

class TextSearchRangeDialog : public Dialog {
public:
    explicit TextSearchRangeDialog(const PageQuery& query);
    const PageQuery& Result() const { return query_; }

    std::string Caption() const override { return "Extract Pages By Text Search"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    void ApplyMode();

    PageQuery query_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
