#include "ui/SplitSettingsDialog.h"

#include <algorithm>

#include "access/Host.h"
#include "access/RegistrySettings.h"
#include "model/SettingsChoices.h"
#include "model/SplitMethodTable.h"
#include "reading/SplitFacts.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"
#include "ui/AcceptedOutputs.h"
#include "ui/SeparatorKindDialogs.h"
#include "ui/SizeLimitFields.h"

namespace tessera {
namespace {

template <class Value>
std::vector<ListEntry> ListItems(std::span<const ChoiceRow<Value>> rows) {
    std::vector<ListEntry> items;
    for (const ChoiceRow<Value>& row : rows)
        items.push_back({LookupString(row.captionKey), static_cast<int>(row.value)});
    return items;
}

void FillLists(DialogView& view) {
    view.FillList(kNameModeList, ListItems(NamingModeChoices()));
    view.FillList(kPrefixList, ListItems(PrefixChoices()));
    view.FillList(kOcrModeList, ListItems(OcrModeChoices()));
    // The separator list has always shown the text kind first.
    std::vector<ListEntry> separators = ListItems(SeparatorChoices());
    std::stable_partition(separators.begin(), separators.end(), [](const ListEntry& entry) {
        return entry.data == static_cast<int>(SeparatorKind::PageMatchingText);
    });
    view.FillList(kSeparatorList, separators);
    view.SelectListData(kNameModeList, 0);
    view.SelectListData(kPrefixList, 0);
    view.SelectListData(kOcrModeList, 0);
    view.SelectListData(kSeparatorList, static_cast<int>(SeparatorKind::PageMatchingText));
    FillSizeUnits(view);
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
    facts_ = ReadSplitFacts(document_);
    tree_.Clear();
    const bool sameFile = document_.HasDocument() && memory_.accepted.documentPath == document_.FilePath();
    if (!profileLoaded_ && options_.remembersSettings) LoadSettingsFromRegistry(fields_);
    SetRadios();
    // The last range added is the selection, so that its buttons work at once.
    const TreePath last = profileLoaded_ || sameFile ? tree_.AddList(memory_.accepted.list, pageCount_) : TreePath{};
    if (fields_.Filename.OutputFolder.empty()) fields_.Filename.OutputFolder = DefaultOutputFolder();
    WriteFields();
    ShowTree(last);
    Refresh();
}

TreePath SplitSettingsDialog::Selection() const { return view_ ? view_->SelectedTreeItem(kDocumentTree) : TreePath{}; }

std::optional<std::size_t> SplitSettingsDialog::TargetDocument() const {
    const TreePath selected = Selection();
    if (selected.empty() || static_cast<std::size_t>(selected.front()) >= tree_.Documents().size()) return std::nullopt;
    return static_cast<std::size_t>(selected.front());
}

void SplitSettingsDialog::ShowTree(const TreePath& selected) {
    view_->ShowTree(kDocumentTree, tree_.Nodes(), selected);
}

void SplitSettingsDialog::Refresh() {
    ReadFields();
    DialogView& view = *view_;
    // A burst of typing plans once, when it pauses; the plan of the window as it opens comes at once.
    constexpr int kPlanPause = 250;
    const bool opening = shownPlan_.words.title.empty();
    if (document_.HasDocument()) view.Debounce(kPlanDebounce, opening ? 0 : kPlanPause, [this] { ShowPlan(false); });
    const TreePath selected = Selection();
    const bool sel = !selected.empty(), range = selected.size() > 1;
    const SplitMethod mode = fields_.SplitMode;
    const SplitMethodRow* found = FindMethodRow(mode);
    const SplitMethodRow method = found ? *found : SplitMethodRow{};
    const bool manual = method.usesOutputList, bookmarks = method.namesFromBookmarks;
    const bool separator = method.usesSeparator;
    view.SetEnabled(kAddDocumentButton, manual);
    for (ControlId id : {kAddRangeButton, kTextSearchButton, kContentButton}) view.SetEnabled(id, manual && sel);
    view.SetEnabled(kRangeFromBookmarkButton, manual && sel && document_.HasDocument());
    view.SetEnabled(kEditRangeButton, manual && range);
    view.SetEnabled(kRemoveRangeButton, manual && range);
    view.SetEnabled(kRemoveDocumentButton, manual && sel && !range);
    view.SetEnabled(kDocumentTree, manual);
    view.SetEnabled(kPasswordEdit, fields_.Security.bPaswordProtect);
    view.SetEnabled(kPermPasswordEdit, fields_.Security.bPaswordProtect);
    // Bookmarks name their outputs, unless a template names every output.
    view.SetEnabled(kNameModeList, true);
    view.SetEnabled(kFoldersCheck, bookmarks);
    const std::optional<int> nameMode = view.SelectedListData(kNameModeList);
    view.SetEnabled(kNameAreaButton, (!bookmarks && nameMode == static_cast<int>(kNamingModeWithArea)) ||
                                         nameMode == static_cast<int>(NameConstructionMode::UseTemplate));
    view.SetEnabled(kStartLevelEdit, method.usesBookmarkLevels && (!method.needsBookmarks || facts_.hasBookmarks));
    view.SetEnabled(kEndLevelEdit, method.usesBookmarkLevels && (!method.needsBookmarks || facts_.hasBookmarks));
    view.SetEnabled(kPagesEachEdit, method.usesPagesEach);
    EnableSizeLimit(view, fields_);
    view.SetEnabled(kSeparatorList, separator);
    const std::optional<int> separatorType = view.SelectedListData(kSeparatorList);
    view.SetEnabled(kSeparatorOptionsButton,
                    separator && separatorType && HasSeparatorDialog(static_cast<SeparatorKind>(*separatorType)));
    // OK waits for the method's own fields; every other problem is said when it is pressed.
    const std::vector<SettingsProblem> problems = CheckSettings(Record(), facts_);
    const auto waits = std::find_if(problems.begin(), problems.end(),
                                    [](const SettingsProblem& p) { return p.kind == ProblemKind::MethodIncomplete; });
    view.SetEnabled(kOkButton, waits == problems.end());
    // A greyed OK says why beneath it, in the first sentence of the reason: one line.
    if (waits == problems.end()) return view.SetText(kOkWaitsText, " ");
    const std::size_t stop = waits->text.find(". ");
    const std::string reason = stop == std::string::npos ? waits->text : waits->text.substr(0, stop + 1);
    view.SetText(kOkWaitsText, FormatText(LookupString("IDS_OK_WAITS_FOR"), {reason}));
}

SplitSettings SplitSettingsDialog::Record() const {
    SplitSettings record = fields_;
    record.Outputs = tree_.ToList();
    return record;
}

void SplitSettingsDialog::MethodClicked(ControlId id) {
    const DialogView& view = *view_;
    fields_.SplitMode = SplitMethodRows().front().method;
    for (const SplitMethodRow& row : SplitMethodRows())
        if (view.Checked(row.radio)) fields_.SplitMode = row.method;
    Refresh();
    const SplitMethodRow* clicked = FindMethodRowByRadio(id);
    if (clicked && clicked->needsBookmarks && !facts_.hasBookmarks)
        view_->ShowMessageByKey("IDS_CANT_SPLIT_BY_BOOKMARKS");
}

void SplitSettingsDialog::Changed(ControlId id) {
    if (FindMethodRowByRadio(id)) return MethodClicked(id);
    switch (id) {
        case kBaseNameEdit:
            return CleanBaseName();
        case kAddDocumentButton:
            return AddDocument();
        case kRemoveDocumentButton:
        case kRemoveDocumentCommand:
            return RemoveDocument();
        case kAddRangeButton:
            return AddPlainRange();
        case kEditRangeButton:
        case kEditRangeCommand:
            return EditRange();
        case kRemoveRangeButton:
        case kDeleteRangeCommand:
            return RemoveRange();
        case kRangeFromBookmarkButton:
            return AddRangeFromBookmark();
        case kTextSearchButton:
            return AddQueryRange(false);
        case kContentButton:
            return AddQueryRange(true);
        case kPropertiesCommand:
            return EditDocument();
        case kRemoveAllCommand:
            return RemoveAll();
        case kSeparatorOptionsButton:
            return SeparatorOptions();
        case kNameAreaButton:
            return NameArea();
        case kBrowseButton:
            return BrowseFolder();
        case kHelpButton:
            return OpenHelp();
        case kSaveProfileButton:
            return SaveProfile();
        case kLoadProfileButton:
            return LoadProfile();
        // Every other edit, box, list and the tree's selection: OK and the
        // enabling follow what they now hold.
        default:
            return Refresh();
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
    if (!TakeTypedFolder()) return false;
    SecuritySettings& security = fields_.Security;
    if (security.bPaswordProtect) {
        if (TrimPasswords(security)) view_->ShowMessageByKey("IDS_PASSWORD_BLANKS_DROPPED");
        view_->SetText(kPasswordEdit, security.Password);
        view_->SetText(kPermPasswordEdit, security.PermPassword);
    }
    const SplitMethodRow* method = FindMethodRow(fields_.SplitMode);
    const SplitSettings record = Record();
    const std::vector<SettingsProblem> problems = CheckSettings(record, facts_);
    for (const SettingsProblem& problem : problems) view_->ShowMessage(problem.text);
    const bool manual = method && method->usesOutputList;
    const bool outside =
        std::any_of(record.Outputs.begin(), record.Outputs.end(), [this](const OutputDocument& output) {
            return std::any_of(output.Ranges.begin(), output.Ranges.end(),
                               [this](const PageRange& range) { return RangeOutsideDocument(range, pageCount_); });
        });
    if (manual && document_.HasDocument() && pageCount_ > 0 && outside)
        view_->ShowMessageByKey("IDS_WARNING_ONE_OR_MORE_PAGE_RANGE_IS_OUT_OF_BOUNDS");
    return problems.empty();
}

bool SplitSettingsDialog::Accept() {
    ReadFields();
    if (!Validate()) return false;
    if (options_.remembersSettings) SaveSettingsToRegistry(fields_);
    KeepTreeAsList();
    result_ = Record();
    return true;
}

void SplitSettingsDialog::Reject() {
    ReadFields();
    if (options_.remembersSettings) SaveSettingsToRegistry(fields_);
}

}  // namespace tessera
