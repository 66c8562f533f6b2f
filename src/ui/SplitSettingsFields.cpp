// The settings dialog's fields and the controls that show them.
#include <charconv>
#include <cstring>

#include "model/SettingsSchema.h"
#include "model/SplitMethodTable.h"
#include "ui/SizeLimitFields.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

// A numeric edit that holds no whole number reads as 0, which the checks refuse.
std::int32_t NumberIn(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 ? value : 0;
}

template <class Choice>
void ReadChoice(const DialogView& view, ControlId list, Choice& field) {
    if (const std::optional<int> data = view.SelectedListData(list)) field = static_cast<Choice>(*data);
}

// Shows a field in its control, whose kind follows from the field's type.
struct ShowField {
    DialogView& view;
    ControlId id;
    void operator()(bool* flag) const { view.SetChecked(id, *flag); }
    void operator()(std::string* text) const { view.SetText(id, *text); }
    void operator()(std::int32_t* number) const { view.SetText(id, std::to_string(*number)); }
    template <class Choice>
    requires std::is_enum_v<Choice>
    void operator()(Choice* choice) const { view.SelectListData(id, static_cast<int>(*choice)); }
    void operator()(Fixed16*) const {}
};

struct ReadField {
    const DialogView& view;
    ControlId id;
    void operator()(bool* flag) const { *flag = view.Checked(id); }
    void operator()(std::string* text) const { *text = view.Text(id); }
    void operator()(std::int32_t* number) const { *number = NumberIn(view.Text(id)); }
    template <class Choice>
    requires std::is_enum_v<Choice>
    void operator()(Choice* choice) const { ReadChoice(view, id, *choice); }
    void operator()(Fixed16*) const {}
};

}  // namespace

std::string CleanBaseFilename(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 || (byte < 128 && std::strchr(".\"/*?<>|[]:;=,", c) != nullptr)) c = '_';
    }
    return text;
}

void SplitSettingsDialog::SetRadios() {
    DialogView& view = *view_;
    // A stored integer that names no method shows the first one chosen.
    const SplitMethodRow* chosen = FindMethodRow(fields_.SplitMode);
    if (!chosen) chosen = &SplitMethodRows().front();
    for (const SplitMethodRow& row : SplitMethodRows()) view.SetChecked(row.radio, &row == chosen);
    if (!chosen->usesSeparator || chosen->method != fields_.SplitMode) return;
    view.SelectListData(kSeparatorList, static_cast<int>(fields_.Output.SeparatorType));
    if (!view.SelectedListData(kSeparatorList)) {
        fields_.Output.SeparatorType = SeparatorKind::BlankPage;
        view.SelectListData(kSeparatorList, static_cast<int>(SeparatorKind::BlankPage));
    }
}

void SplitSettingsDialog::WriteFields() {
    for (const SettingsRow& row : SettingsSchema())
        if (row.control) std::visit(ShowField{*view_, row.control}, row.ref(fields_));
    ShowSizeLimit(*view_, fields_);
}

void SplitSettingsDialog::ReadFields() {
    for (const SettingsRow& row : SettingsSchema())
        if (row.control) std::visit(ReadField{*view_, row.control}, row.ref(fields_));
    ReadSizeLimit(*view_, fields_);
    // The separator list shows its kind only while a method that reads it is chosen.
    const SplitMethodRow* method = FindMethodRow(fields_.SplitMode);
    if (method && method->usesSeparator)
        if (const std::optional<int> type = view_->SelectedListData(kSeparatorList))
            fields_.Output.SeparatorType = static_cast<SeparatorKind>(*type);
}

void SplitSettingsDialog::CleanBaseName() {
    const std::string typed = view_->Text(kBaseNameEdit);
    const std::string cleaned = CleanBaseFilename(typed);
    if (cleaned != typed) view_->SetText(kBaseNameEdit, cleaned);
}

}  // namespace tessera
