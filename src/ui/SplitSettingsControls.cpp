// The settings dialog's fixed parts: caption, control table, tooltips and the
// tree's menus.
#include <algorithm>

#include "access/ProductVersion.h"
#include "model/SettingsSchema.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/SizeLimitFields.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

const char* CaptionOf(ControlId id) { return SettingsRowForControl(id)->caption; }
// The most characters a text may have, as every route holds it to.
int MostCharactersOf(ControlId id) { return SettingsRowForControl(id)->high; }

// The output options' check boxes: the schema's flags of the output settings
// that have a control, in the order of their control numbers, the order the
// dialog always listed them in; a new option's box goes last. The OCR layer's
// box sits with the other OCR settings.
std::vector<const SettingsRow*> OutputOptionRows() {
    std::vector<const SettingsRow*> rows;
    SplitSettings probe;
    for (const SettingsRow& row : SettingsSchema())
        if (row.group == ProfileGroup::Output && row.control && std::holds_alternative<bool*>(row.ref(probe)) &&
            row.control != kOcrLayerCheck)
            rows.push_back(&row);
    std::ranges::sort(rows, {}, &SettingsRow::control);
    return rows;
}

}  // namespace

std::string SplitSettingsDialog::Caption() const {
    return ShownCaption("Split Document Settings") + " (" + LookupString("IDS_TESSERA_PRO_PLUGIN") + ") -" +
           FormatText(" Ver. %d.%d", {kVersionMajor, kVersionMinor});
}

std::vector<ControlSpec> SplitSettingsDialog::Controls() const {
    using K = ControlKind;
    std::vector<ControlSpec> controls = {
        {kMethodGroup, K::Group, "Split Method"},
        {kEqualPagesRadio, K::Radio, "Equal size documents of", kMethodGroup},
        {kPagesEachEdit, K::NumberEdit, "", kMethodGroup, true},
        {0, K::Text, "pages each", kMethodGroup, true},
        {kBookmarksRadio, K::Radio, "Use bookmark tree from level", kMethodGroup},
        {kStartLevelEdit, K::NumberEdit, "", kMethodGroup, true},
        {0, K::Text, "to", kMethodGroup, true},
        {kEndLevelEdit, K::NumberEdit, "", kMethodGroup, true},
        {kManualRadio, K::Radio, "Use manually defined page ranges", kMethodGroup},
        {kSeparatorRadio, K::Radio, "Use separator:", kMethodGroup},
        {kSeparatorList, K::DropDown, "", kMethodGroup, true},
        {kSeparatorOptionsButton, K::Button, "...", kMethodGroup, true},
        {kSizeRadio, K::Radio, "Documents no larger than", kMethodGroup},
        {kSizeEdit, K::Edit, "", kMethodGroup, true, 12},
        {kSizeUnitList, K::DropDown, "", kMethodGroup, true},
        {kSizeLimitCheck, K::CheckBox, "Cut any document of another method larger than this size", kMethodGroup},
        {kOutputsGroup, K::Group, "Output Documents"},
        {kDocumentTree, K::Tree, "", kOutputsGroup},
        {kAddDocumentButton, K::Button, "Add Output Document", kOutputsGroup},
        {kRemoveDocumentButton, K::Button, "Remove Document", kOutputsGroup, true},
        {kAddRangeButton, K::Button, "Add Page Range...", kOutputsGroup},
        {kEditRangeButton, K::Button, "Edit Page Range...", kOutputsGroup, true},
        {kRemoveRangeButton, K::Button, "Remove Page Range", kOutputsGroup, true},
        {kRangeFromBookmarkButton, K::Button, "Range From Bookmark...", kOutputsGroup},
        {kTextSearchButton, K::Button, "Pages By Text Search...", kOutputsGroup, true},
        {kContentButton, K::Button, "Pages By Content...", kOutputsGroup, true},
        // Before the options, so that the groups still part evenly into two columns.
        {kOcrGroup, K::Group, "Text from Scans"},
        {kOcrModeList, K::DropDown, CaptionOf(kOcrModeList), kOcrGroup},
        {kOcrLanguagesEdit, K::Edit, CaptionOf(kOcrLanguagesEdit), kOcrGroup, true,
         MostCharactersOf(kOcrLanguagesEdit)},
        {kOcrLayerCheck, K::CheckBox, CaptionOf(kOcrLayerCheck), kOcrGroup},
        {kProcessingGroup, K::Group, "Options"},
    };
    for (const SettingsRow* row : OutputOptionRows())
        controls.push_back({row->control, K::CheckBox, row->caption, kProcessingGroup});
    controls.push_back({kWatermarkEdit, K::Edit, CaptionOf(kWatermarkEdit), kProcessingGroup});
    controls.insert(
        controls.end(),
        {
            {kNamingGroup, K::Group, "Output Naming and Destination"},
            {kOutputFolderEdit, K::Edit, CaptionOf(kOutputFolderEdit), kNamingGroup, false,
             MostCharactersOf(kOutputFolderEdit)},
            {kBrowseButton, K::Button, "&Browse...", kNamingGroup, true},
            {kPrefixList, K::DropDown, CaptionOf(kPrefixList), kNamingGroup},
            {kBaseNameEdit, K::Edit, CaptionOf(kBaseNameEdit), kNamingGroup, true, MostCharactersOf(kBaseNameEdit)},
            {kFoldersCheck, K::CheckBox, CaptionOf(kFoldersCheck), kNamingGroup},
            {kNameModeList, K::DropDown, CaptionOf(kNameModeList), kNamingGroup},
            {kNameAreaButton, K::Button, "Options...", kNamingGroup, true},
            {kSecurityGroup, K::Group, "Security"},
            {kProtectCheck, K::CheckBox, CaptionOf(kProtectCheck), kSecurityGroup},
            {kPasswordEdit, K::Edit, CaptionOf(kPasswordEdit), kSecurityGroup, false, 32},
            {kPermPasswordEdit, K::Edit, CaptionOf(kPermPasswordEdit), kSecurityGroup, true},
            {kCanEditCheck, K::CheckBox, CaptionOf(kCanEditCheck), kSecurityGroup},
            {kCanPrintCheck, K::CheckBox, CaptionOf(kCanPrintCheck), kSecurityGroup, true},
            {kCanCopyCheck, K::CheckBox, CaptionOf(kCanCopyCheck), kSecurityGroup},
            {kCanEditNotesCheck, K::CheckBox, CaptionOf(kCanEditNotesCheck), kSecurityGroup, true},
            {kHelpButton, K::Button, "Help"},
            {kLoadProfileButton, K::Button, "Load Profile...", 0, true},
            {kSaveProfileButton, K::Button, "Save Profile...", 0, true},
            {kOkButton, K::Button, "OK", 0, true},
            {kCancelButton, K::Button, "Cancel", 0, true},
            // A line kept for it: a text that came later would squeeze the groups.
            {kOkWaitsText, K::Text, " ", 0},
        });
    return controls;
}

std::string SplitSettingsDialog::Tooltip(ControlId id) const {
    static const std::pair<ControlId, const char*> kTips[] = {
        {kRemoveDocumentButton, "IDS_TOOLTIP_BUTTON_REMOVE_DOCUMENT"},
        {kSaveProfileButton, "IDS_TOOLTIP_SAVE_PROFILE"},
        {kLoadProfileButton, "IDS_TOOLTIP_LOAD_PROFILE"},
        {kPasswordEdit, "IDS_TOOLTIP_EDIT_PASSWORD"},
        {kBaseNameEdit, "IDS_TOOLTIP_BASE_FILENAME"},
        {kDocumentTree, "IDS_TOOLTIP_DOCUMENT_TREE_VIEW"},
        {kAddDocumentButton, "IDS_TOOLTIP_BUTTON_NEW_DOCUMENT"},
        {kAddRangeButton, "IDS_TOOLTIP_BUTTON_NEW_PAGE_RANGE"},
        {kRemoveRangeButton, "IDS_TOOLTIP_BUTTON_REMOVE_PAGE_RANGE"},
        {kEditRangeButton, "IDS_TOOLTIP_BUTTON_EDIT_PAGE_RANGE"},
        {kPermPasswordEdit, "IDS_TOOLTIP_EDIT_PASSWORD_PERMISSIONS"},
        {kRangeFromBookmarkButton, "IDS_TOOLTIP_BUTTON_PAGE_RANGE_FROM_BOOKMARK"},
        {kTextSearchButton, "IDS_TOOLTIP_BUTTON_PAGES_FROM_TEXT_SEARCH"},
        {kContentButton, "IDS_TOOLTIP_BUTTON_PAGES_BY_ELEMENT_CONTENT"},
        {kPrefixList, "IDS_TOOLTIP_PREFIX_COMBOBOX"},
        {kSeparatorList, "IDS_TOOLTIP_SELECT_SEPARATOR_TYPE"},
        {kSeparatorOptionsButton, "IDS_TOOLTIP_SET_SEPARATOR_OPTIONS"},
    };
    if (id == kOutputFolderEdit) return fields_.Filename.OutputFolder;
    for (const auto& [control, key] : kTips)
        if (control == id) return LookupString(key);
    return {};
}

std::vector<MenuEntry> SplitSettingsDialog::ContextMenu(ControlId id) const {
    const TreePath selected = Selection();
    if (id != kDocumentTree || selected.empty()) return {};
    if (selected.size() == 1)
        return {{kPropertiesCommand, "Properties..."},
                {0, ""},
                {kRemoveDocumentCommand, "Remove Selected Document"},
                {kRemoveAllCommand, "Remove All Documents"}};
    return {{kEditRangeCommand, "Edit Selected Page Range..."}, {kDeleteRangeCommand, "Delete Selected Page Range"}};
}

}  // namespace tessera
