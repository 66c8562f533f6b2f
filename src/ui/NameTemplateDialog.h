#pragma once
// "Name Template": the template every output's name is made from, the pattern
// whose groups its fields {1}... and {NAME} take from each output's first
// page, and the names the first three outputs would get.
#include <string>

#include <optional>
#include "access/DocumentHandle.h"

#include "model/SplitSettings.h"
#include "reading/PageKeyReader.h"
#include "ui/Dialog.h"

namespace tessera {

class NameTemplateDialog : public Dialog {
public:
    // The example names the first outputs of the settings' list, or the
    // document's first pages one by one when it has none; in a split where a
    // value changes, {key} and its groups are each first page's value.
    NameTemplateDialog(std::string nameTemplate, std::string pattern, const DocumentHandle& document,
                       const SplitSettings& settings);
    const std::string& Template() const { return template_; }
    const std::string& Pattern() const { return pattern_; }

    std::string Caption() const override { return "Name Template"; }
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    // Why the edits cannot be taken as they stand; empty when they can.
    std::string Refusal() const;
    void ShowExample();

    std::string template_;
    std::string pattern_;
    const DocumentHandle& document_;
    OutputList outputs_;
    bool matchCase_;
    OcrSettings ocr_;
    std::optional<PageKeyReader> keys_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
