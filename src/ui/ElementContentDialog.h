#pragma once
// "Extract Pages By Element Content": the query of a range whose pages hold
// every checked kind of page element.
#include "model/PageQuery.h"
#include "ui/Dialog.h"

namespace tessera {

class ElementContentDialog : public Dialog {
public:
    explicit ElementContentDialog(const PageQuery& query);
    // Enabled only when at least one kind was checked; the opener adds no range otherwise.
    const PageQuery& Result() const { return query_; }

    std::string Caption() const override { return "Extract Pages By Element Content"; }
    std::vector<ControlSpec> Controls() const override;
    std::vector<ControlId> AlignedGroups() const override;
    void Open(DialogView& view) override;
    bool Accept() override;

private:
    PageQuery query_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
