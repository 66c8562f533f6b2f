// The settings dialog's fields and the controls that show them.
#include <charconv>
#include <cstring>

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

// The check boxes and the flag each one shows.
std::vector<std::pair<ControlId, bool*>> CheckBoxes(SplitSettings& s) {
    return {
        {kLinearizeCheck, &s.Output.bLinearize},
        {kUpdateLinksCheck, &s.Output.bUpdateLinks},
        {kRemoveLabelsCheck, &s.Output.bRemovePageLabels},
        {kTransferBookmarksCheck, &s.Output.bTransferBookmarks},
        {kHtmlIndexCheck, &s.Output.bCreateHTMLIndex},
        {kFoldersCheck, &s.Filename.CreateFoldersForBookmarks},
        {kProtectCheck, &s.Security.bPaswordProtect},
        {kCanEditCheck, &s.Security.bSecurityCanEdit},
        {kCanPrintCheck, &s.Security.bSecurityCanPrint},
        {kCanCopyCheck, &s.Security.bSecurityCanCopy},
        {kCanEditNotesCheck, &s.Security.bSecurityCanEditNotes},
    };
}

std::vector<std::pair<ControlId, std::string*>> TextEdits(SplitSettings& s) {
    return {
        {kOutputFolderEdit, &s.Filename.OutputFolder},
        {kBaseNameEdit, &s.Filename.OutputBaseFilename},
        {kPasswordEdit, &s.Security.Password},
        {kPermPasswordEdit, &s.Security.PermPassword},
    };
}

std::vector<std::pair<ControlId, std::int32_t*>> NumberEdits(SplitSettings& s) {
    return {
        {kPagesEachEdit, &s.Output.NumEqualPages},
        {kStartLevelEdit, &s.Output.StartBookmarkLevel},
        {kEndLevelEdit, &s.Output.EndBookmarkLevel},
    };
}

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
    const SplitMethod mode = fields_.SplitMode;
    view.SetChecked(kEqualPagesRadio, mode != SplitMethod::BookmarkLevels && mode != SplitMethod::ManualRanges &&
                                          mode != SplitMethod::SeparatorPages);
    view.SetChecked(kBookmarksRadio, mode == SplitMethod::BookmarkLevels);
    view.SetChecked(kManualRadio, mode == SplitMethod::ManualRanges);
    view.SetChecked(kSeparatorRadio, mode == SplitMethod::SeparatorPages);
    if (mode != SplitMethod::SeparatorPages) return;
    view.SelectListData(kSeparatorList, static_cast<int>(fields_.Output.SeparatorType));
    if (!view.SelectedListData(kSeparatorList)) {
        fields_.Output.SeparatorType = SeparatorKind::BlankPage;
        view.SelectListData(kSeparatorList, static_cast<int>(SeparatorKind::BlankPage));
    }
}

void SplitSettingsDialog::WriteFields() {
    DialogView& view = *view_;
    for (const auto& [id, flag] : CheckBoxes(fields_)) view.SetChecked(id, *flag);
    for (const auto& [id, text] : TextEdits(fields_)) view.SetText(id, *text);
    for (const auto& [id, number] : NumberEdits(fields_)) view.SetText(id, std::to_string(*number));
    view.SelectListData(kPrefixList, static_cast<int>(fields_.Filename.FileNameAutoPrefix));
    view.SelectListData(kNameModeList, static_cast<int>(fields_.Filename.FileNameConstructionMode));
}

void SplitSettingsDialog::ReadFields() {
    const DialogView& view = *view_;
    for (const auto& [id, flag] : CheckBoxes(fields_)) *flag = view.Checked(id);
    for (const auto& [id, text] : TextEdits(fields_)) *text = view.Text(id);
    for (const auto& [id, number] : NumberEdits(fields_)) *number = NumberIn(view.Text(id));
    ReadChoice(view, kPrefixList, fields_.Filename.FileNameAutoPrefix);
    ReadChoice(view, kNameModeList, fields_.Filename.FileNameConstructionMode);
}

void SplitSettingsDialog::CleanBaseName() {
    const std::string typed = view_->Text(kBaseNameEdit);
    const std::string cleaned = CleanBaseFilename(typed);
    if (cleaned != typed) view_->SetText(kBaseNameEdit, cleaned);
}

}  // namespace tessera
