#pragma once
// "Split Document Settings": every field of the split settings, the
// hand-made output list as a tree and the sub-dialogs that edit its ranges.
// What OK takes is what CheckSettings takes, as on every other route; the
// window and the batch command's editor work through this one logic.
#include <string>

#include "access/DocumentHandle.h"
#include "model/SettingsCheck.h"
#include "model/SettingsControls.h"
#include "model/SplitSettings.h"
#include "ui/Dialog.h"
#include "ui/DialogMemory.h"
#include "ui/OutputDocumentTree.h"
#include "ui/PlanPreview.h"

namespace tessera {

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
    // The plan beside the dialog made again; one that reads every page only when `asked`.
    void ShowPlan(bool asked);
    // Cuts by hand on the plan shown last: each makes its outputs the
    // hand-made list first, where the user agrees.
    void CutByHand(std::size_t before);
    void RenameByHand(int output, const std::string& name);
    bool TakePlanAsList();
    void UseList(const OutputList& list);
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
    PlanPreview shownPlan_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera

namespace tessera {

// The base file name as its edit keeps it: characters that cannot stand in a
// file name (and control characters) become "_"; bytes from 128 up stay.
std::string CleanBaseFilename(std::string text);

}  // namespace tessera
