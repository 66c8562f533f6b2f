#pragma once
// "Split Document Settings": every field of the split settings, the
// hand-made output list as a tree and the sub-dialogs that edit its ranges.
// What OK takes is what CheckSettings takes, as on every other route; the
// window and the batch command's editor work through this one logic.
#include <string>

#include "access/DocumentHandle.h"
#include "model/SettingsCheck.h"
#include "model/SplitSettings.h"
#include "ui/Dialog.h"
#include "ui/DialogMemory.h"
#include "ui/OutputDocumentTree.h"

namespace tessera {

// The controls' numbers, for the views and the command line.
enum SplitSettingsControl : ControlId {
    kEqualPagesRadio = 1103,
    kPagesEachEdit = 1001,
    kBookmarksRadio = 1104,
    kStartLevelEdit = 1038,
    kEndLevelEdit = 1039,
    kManualRadio = 1106,
    kSeparatorRadio = 1105,
    kSeparatorList = 1102,
    kSeparatorOptionsButton = 1110,
    kLinearizeCheck = 1011,
    kUpdateLinksCheck = 1012,
    kRemoveLabelsCheck = 1013,
    kTransferBookmarksCheck = 1016,
    kHtmlIndexCheck = 1131,
    kDocumentTree = 1020,
    kAddDocumentButton = 1021,
    kRemoveDocumentButton = 1004,
    kAddRangeButton = 1022,
    kEditRangeButton = 1024,
    kRemoveRangeButton = 1023,
    kRangeFromBookmarkButton = 1032,
    kTextSearchButton = 1033,
    kContentButton = 1087,
    kOutputFolderEdit = 1010,
    kBrowseButton = 1009,
    kPrefixList = 1096,
    kBaseNameEdit = 1019,
    kFoldersCheck = 1130,
    kNameModeList = 1026,
    kNameAreaButton = 1119,
    kNamingGroup = 1120,
    kProtectCheck = 1017,
    kPasswordEdit = 1018,
    kPermPasswordEdit = 1025,
    kCanEditCheck = 1027,
    kCanPrintCheck = 1028,
    kCanCopyCheck = 1029,
    kCanEditNotesCheck = 1031,
    kHelpButton = 1045,
    kLoadProfileButton = 1015,
    kSaveProfileButton = 1014,
    // Groups and the tree's menu commands, which have no numbers of their own.
    kMethodGroup = 5001,
    kOutputsGroup = 5002,
    kProcessingGroup = 5003,
    kSecurityGroup = 5004,
    kPropertiesCommand = 5101,
    kRemoveDocumentCommand = 5102,
    kRemoveAllCommand = 5103,
    kEditRangeCommand = 5104,
    kDeleteRangeCommand = 5105,
    // Under the buttons: why OK waits, while it does.
    kOkWaitsText = 5201,
    // The run-wide watermark's text; empty for none.
    kWatermarkEdit = 5202,
};

class SplitSettingsDialog : public Dialog {
public:
    struct Options {
        // The window reads the remembered settings when it opens and keeps
        // them at every close; the command line keeps them only when asked,
        // after a run.
        bool remembersSettings = true;
        // What the dialogs remember while the host runs; none for a dialog
        // that keeps its hand-made list and watermark text to itself.
        DialogMemory* memory = nullptr;
    };

    // `document` over nothing when the dialog edits settings without one (a batch command's).
    SplitSettingsDialog(const DocumentHandle& document, int pageCount, Options options);

    // Fields and hand-made list from a profile or stored parameters, before opening.
    void ApplySettings(const SplitSettings& settings);
    // The fields after OK or Cancel; the hand-made list is Memory().accepted.list.
    const SplitSettings& Fields() const { return fields_; }
    // What OK accepted: the whole record, the hand-made list included.
    const SplitSettings& Result() const { return result_; }
    const DialogMemory& Memory() const { return memory_; }

    std::string Caption() const override;
    std::vector<ControlSpec> Controls() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    void Activated(ControlId id) override;
    void DeletePressed(ControlId id) override;
    bool Accept() override;
    void Reject() override;
    std::string Tooltip(ControlId id) const override;
    std::vector<MenuEntry> ContextMenu(ControlId id) const override;

private:
    void Fill();
    void SetRadios();
    void WriteFields();
    void ReadFields();
    void Refresh();
    void MethodClicked(ControlId id);
    void CleanBaseName();
    void ShowTree(const TreePath& selected);
    TreePath Selection() const;
    std::optional<std::size_t> TargetDocument() const;
    void KeepTreeAsList();
    // The fields with the tree's list, as they stand.
    SplitSettings Record() const;
    // The checks OK makes, each failure shown; true when all pass.
    bool Validate();

    void AddDocument();
    void AddRange(PageRange range);
    void AddPlainRange();
    void AddQueryRange(bool byContent);
    void AddRangeFromBookmark();
    void EditRange();
    void EditDocument();
    void RemoveDocument();
    void RemoveRange();
    void RemoveAll();
    void SeparatorOptions();
    void NameArea();
    void BrowseFolder();
    // The folder as typed into its field, checked as Browse checks a chosen
    // one ("~" stands for the home folder); false when it cannot be used.
    bool TakeTypedFolder();
    void OpenHelp();
    void SaveProfile();
    void LoadProfile();
    bool Ask(const char* key);

    const DocumentHandle& document_;
    const int pageCount_;
    const Options options_;
    DialogMemory ownMemory_;
    DialogMemory& memory_;
    SplitSettings fields_;
    SplitSettings result_;
    OutputDocumentTree tree_;
    DocumentFacts facts_;
    bool profileLoaded_ = false;
    DialogView* view_ = nullptr;
};

}  // namespace tessera

namespace tessera {

// The base file name as its edit keeps it: characters that cannot stand in a
// file name (and control characters) become "_"; bytes from 128 up stay.
std::string CleanBaseFilename(std::string text);

}  // namespace tessera
