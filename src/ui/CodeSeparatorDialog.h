#pragma once
// "Separator Sheets With a Code": which codes mark a separator sheet, by a
// pattern their text must match (any code when it is empty).
#include "model/TextQuery.h"
#include "ui/Dialog.h"

namespace tessera {

class CodeSeparatorDialog : public Dialog {
public:
    explicit CodeSeparatorDialog(const TextQuery& query) : query_(query) {}
    const TextQuery& Result() const { return query_; }

    std::string Caption() const override { return "Separator Sheets With a Code"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    bool Accept() override;

private:
    TextQuery query_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
