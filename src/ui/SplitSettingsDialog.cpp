#include "ui/SplitSettingsDialog.h"

#include <algorithm>

#include "access/Host.h"
#include "access/RegistrySettings.h"
#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

bool DocumentHasBookmarks(const DocumentHandle& document) {
    host::BookmarkServices& bookmarks = *Host().bookmarks;
    const host::BookmarkRef root = bookmarks.Root(document.Doc());
    return bookmarks.IsValid(root) && !bookmarks.FirstChild(root).IsNull();
}

void FillLists(DialogView& view) {
    view.FillList(kNameModeList, {{LookupString("IDS_ADD_NUMBER"), 0},
                                  {LookupString("IDS_ADD_LETTER"), 1},
                                  {LookupString("IDS_ADD_PAGE_RANGES"), 2},
                                  {LookupString("IDS_ADD_PAGE_LABEL"), 3},
                                  {LookupString("IDS_ADD_TEXT_FROM_PAGE"), 4}});
    view.FillList(kPrefixList, {{LookupString("IDS_PREFIX_NONE"), 0},
                                {LookupString("IDS_PREFIX_FILENAME"), 1},
                                {LookupString("IDS_PREFIX_TODAYSDATE"), 2}});
    view.FillList(kSeparatorList, {{LookupString("IDS_PAGE_MATCHING_TEXT"), 2},
                                   {LookupString("IDS_BLANK_PAGE"), 0},
                                   {LookupString("IDS_BLANK_IMAGE_PAGE"), 1}});
    view.SelectListData(kNameModeList, 0);
    view.SelectListData(kPrefixList, 0);
    view.SelectListData(kSeparatorList, 2);
}

// Blanks at either end are no part of a password; the user is told they
// went, since the outputs would not open with them typed. True when a
// password that is left lost some.
bool TrimPasswords(SecuritySettings& security) {
    const std::string open = TrimText(security.Password), permissions = TrimText(security.PermPassword);
    const bool trimmed = (!open.empty() && open != security.Password) ||
                         (!permissions.empty() && permissions != security.PermPassword);
    security.Password = open;
    security.PermPassword = permissions;
    return trimmed;
}

}  // namespace

SplitSettingsDialog::SplitSettingsDialog(const DocumentHandle& document, int pageCount, Options options)
    : document_(document),
      pageCount_(document.HasDocument() ? pageCount : 0),
      options_(options),
      memory_(options.memory ? *options.memory : ownMemory_) {}

void SplitSettingsDialog::ApplySettings(const SplitSettings& settings) {
    fields_ = settings;
    fields_.Outputs.clear();
    memory_.accepted.list = settings.Outputs;
    profileLoaded_ = true;
}

void SplitSettingsDialog::Open(DialogView& view) {
    view_ = &view;
    FillLists(view);
    Fill();
}

void SplitSettingsDialog::Fill() {
    hasBookmarks_ = true;
    tree_.Clear();
    const bool sameFile = document_.HasDocument() && memory_.accepted.documentPath == document_.FilePath();
    if (!profileLoaded_ && options_.remembersSettings) LoadSettingsFromRegistry(fields_);
    SetRadios();
    if (profileLoaded_ || sameFile) tree_.AddList(memory_.accepted.list, pageCount_);
    if (document_.HasDocument()) hasBookmarks_ = DocumentHasBookmarks(document_);
    if (fields_.Filename.OutputFolder.empty()) fields_.Filename.OutputFolder = DefaultOutputFolder();
    WriteFields();
    ShowTree({});
    Refresh();
}

TreePath SplitSettingsDialog::Selection() const {
    return view_ ? view_->SelectedTreeItem(kDocumentTree) : TreePath{};
}

std::optional<std::size_t> SplitSettingsDialog::TargetDocument() const {
    const TreePath selected = Selection();
    if (selected.empty() || static_cast<std::size_t>(selected.front()) >= tree_.Documents().size())
        return std::nullopt;
    return static_cast<std::size_t>(selected.front());
}

void SplitSettingsDialog::ShowTree(const TreePath& selected) { view_->ShowTree(kDocumentTree, tree_.Nodes(), selected); }

void SplitSettingsDialog::Refresh() {
    ReadFields();
    DialogView& view = *view_;
    const TreePath selected = Selection();
    const bool sel = !selected.empty(), range = selected.size() > 1;
    const SplitMethod mode = fields_.SplitMode;
    const bool manual = mode == SplitMethod::ManualRanges, bookmarks = mode == SplitMethod::BookmarkLevels;
    const bool separator = mode == SplitMethod::SeparatorPages;
    view.SetEnabled(kAddDocumentButton, manual);
    for (ControlId id : {kAddRangeButton, kTextSearchButton, kContentButton}) view.SetEnabled(id, manual && sel);
    view.SetEnabled(kRangeFromBookmarkButton, manual && sel && document_.HasDocument());
    view.SetEnabled(kEditRangeButton, manual && range);
    view.SetEnabled(kRemoveRangeButton, manual && range);
    view.SetEnabled(kRemoveDocumentButton, manual && sel && !range);
    view.SetEnabled(kDocumentTree, manual);
    view.SetEnabled(kPasswordEdit, fields_.Security.bPaswordProtect);
    view.SetEnabled(kPermPasswordEdit, fields_.Security.bPaswordProtect);
    view.SetEnabled(kNameModeList, !bookmarks);
    view.SetEnabled(kFoldersCheck, bookmarks);
    view.SetEnabled(kNameAreaButton, view.SelectedListData(kNameModeList) == 4 && !bookmarks);
    view.SetEnabled(kStartLevelEdit, bookmarks && hasBookmarks_);
    view.SetEnabled(kEndLevelEdit, bookmarks && hasBookmarks_);
    view.SetEnabled(kPagesEachEdit, mode == SplitMethod::EqualPages);
    view.SetEnabled(kSeparatorList, separator);
    const std::optional<int> separatorType = view.SelectedListData(kSeparatorList);
    view.SetEnabled(kSeparatorOptionsButton, separator && separatorType.value_or(0) != 0);
    if (separator && separatorType) fields_.Output.SeparatorType = static_cast<SeparatorKind>(*separatorType);
    const OutputSettings& o = fields_.Output;
    bool ok = false;
    switch (mode) {
        case SplitMethod::EqualPages: ok = o.NumEqualPages > 0; break;
        case SplitMethod::BookmarkLevels: ok = o.StartBookmarkLevel > 0 && o.EndBookmarkLevel > 0 && hasBookmarks_; break;
        case SplitMethod::ManualRanges: ok = tree_.ItemCount() > 1; break;
        case SplitMethod::SeparatorPages: ok = o.NumEqualPages > 0; break;
    }
    view.SetEnabled(kOkButton, ok);
}

void SplitSettingsDialog::MethodClicked(ControlId id) {
    const DialogView& view = *view_;
    fields_.SplitMode = view.Checked(kManualRadio)      ? SplitMethod::ManualRanges
                        : view.Checked(kBookmarksRadio) ? SplitMethod::BookmarkLevels
                        : view.Checked(kSeparatorRadio) ? SplitMethod::SeparatorPages
                                                        : SplitMethod::EqualPages;
    Refresh();
    if (id == kBookmarksRadio && !hasBookmarks_) view_->ShowMessageByKey("IDS_CANT_SPLIT_BY_BOOKMARKS");
}

void SplitSettingsDialog::Changed(ControlId id) {
    switch (id) {
        case kEqualPagesRadio: case kBookmarksRadio: case kManualRadio: case kSeparatorRadio: return MethodClicked(id);
        case kBaseNameEdit: return CleanBaseName();
        case kAddDocumentButton: return AddDocument();
        case kRemoveDocumentButton: case kRemoveDocumentCommand: return RemoveDocument();
        case kAddRangeButton: return AddPlainRange();
        case kEditRangeButton: case kEditRangeCommand: return EditRange();
        case kRemoveRangeButton: case kDeleteRangeCommand: return RemoveRange();
        case kRangeFromBookmarkButton: return AddRangeFromBookmark();
        case kTextSearchButton: return AddQueryRange(false);
        case kContentButton: return AddQueryRange(true);
        case kPropertiesCommand: return EditDocument();
        case kRemoveAllCommand: return RemoveAll();
        case kSeparatorOptionsButton: return SeparatorOptions();
        case kNameAreaButton: return NameArea();
        case kBrowseButton: return BrowseFolder();
        case kHelpButton: return OpenHelp();
        case kSaveProfileButton: return SaveProfile();
        case kLoadProfileButton: return LoadProfile();
        // Every other edit, box, list and the tree's selection: OK and the
        // enabling follow what they now hold.
        default: return Refresh();
    }
}

void SplitSettingsDialog::Activated(ControlId id) {
    if (id != kDocumentTree || Selection().empty()) return;
    if (Selection().size() == 1) return EditDocument();
    EditRange();
}

void SplitSettingsDialog::DeletePressed(ControlId id) {
    if (id != kDocumentTree || Selection().empty()) return;
    if (Selection().size() == 1) return RemoveDocument();
    RemoveRange();
}

void SplitSettingsDialog::KeepTreeAsList() {
    memory_.accepted.list = tree_.ToList();
    memory_.accepted.documentPath = document_.HasDocument() ? document_.FilePath() : std::string();
}

bool SplitSettingsDialog::Validate() {
    bool valid = true;
    const auto fail = [this, &valid](const char* key) {
        view_->ShowMessageByKey(key);
        valid = false;
    };
    const OutputSettings& o = fields_.Output;
    switch (fields_.SplitMode) {
        case SplitMethod::EqualPages:
            if (o.NumEqualPages == 0) fail("IDS_NUM_PAGES_NEED_TO_BE_GREATER_THAN_ZERO");
            break;
        case SplitMethod::BookmarkLevels:
            if (!(o.EndBookmarkLevel > 0 && o.StartBookmarkLevel > 0)) fail("IDS_BOOKMARK_LEVELS_ARE_INVALID");
            break;
        case SplitMethod::ManualRanges:
            if (tree_.ItemCount() <= 1) fail("IDS_NO_OUTPUT_DOCUMENTS");
            if (document_.HasDocument()) {
                KeepTreeAsList();
                const bool outside = std::any_of(memory_.accepted.list.begin(), memory_.accepted.list.end(), [this](auto& output) {
                    return std::any_of(output.Ranges.begin(), output.Ranges.end(),
                                       [this](auto& range) { return RangeOutsideDocument(range, pageCount_); });
                });
                if (pageCount_ > 0 && outside) view_->ShowMessageByKey("IDS_WARNING_ONE_OR_MORE_PAGE_RANGE_IS_OUT_OF_BOUNDS");
            }
            break;
        case SplitMethod::SeparatorPages:
            if (const std::optional<int> type = view_->SelectedListData(kSeparatorList))
                fields_.Output.SeparatorType = static_cast<SeparatorKind>(*type);
            if (o.SeparatorType == SeparatorKind::PageMatchingText && o.SeparatorQuery.Pattern.empty())
                fail("IDS_NO_TEXT_PATTERN_SPECIFIED");
            break;
    }
    if (fields_.Filename.OutputFolder.empty()) fail("IDS_NO_OUTPUT_FOLDER_SPECIFIED");
    SecuritySettings& security = fields_.Security;
    if (security.bPaswordProtect) {
        if (TrimPasswords(security)) view_->ShowMessageByKey("IDS_PASSWORD_BLANKS_DROPPED");
        view_->SetText(kPasswordEdit, security.Password);
        view_->SetText(kPermPasswordEdit, security.PermPassword);
        if (security.Password.empty() && security.PermPassword.empty()) fail("IDS_NO_PASSWORDS_PROVIDED");
        if (const char* tooLong = security.PasswordTooLongKey()) fail(tooLong);
    }
    return valid;
}

bool SplitSettingsDialog::Accept() {
    ReadFields();
    if (!Validate()) return false;
    if (options_.remembersSettings) SaveSettingsToRegistry(fields_);
    KeepTreeAsList();
    return true;
}

void SplitSettingsDialog::Reject() {
    ReadFields();
    if (options_.remembersSettings) SaveSettingsToRegistry(fields_);
}

}  // namespace tessera
