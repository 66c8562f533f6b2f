#pragma once
// A dialog's window kept in memory: every control's state as the dialog set
// it, and the modal steps answered by whoever drives it. Tests drive dialogs
// with it as a user would.
#include <functional>
#include <map>

#include "ui/Dialog.h"
#include "ui/PlanPreview.h"

namespace tessera {

class MemoryView : public DialogView {
public:
    struct Control {
        std::string text;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        std::vector<ListEntry> entries;
        int selectedEntry = -1;
        SliderSpec slider;
        int value = 0;
        std::vector<TreeNode> tree;
        TreePath selected;
        host::PageImage picture;
        std::optional<PixelRect> area;  // shown on the picture
        std::optional<PixelRect> drawn;
    };

    // Opens the dialog over this view.
    explicit MemoryView(Dialog& dialog);

    // The user's acts: each changes the control, then tells the dialog.
    void Type(ControlId id, const std::string& text);
    void Click(ControlId id);  // a radio becomes the checked one of its group; a check box toggles
    void Choose(ControlId id, int data);
    void Slide(ControlId id, int value);
    void SelectTreeItem(ControlId id, const TreePath& path);
    // A rectangle drawn on a page-area control.
    void DrawArea(ControlId id, PixelRect area);
    // A double click on the tree's selected item.
    void Activate(ControlId id);
    // OK as the button does: refused while disabled. True when the dialog closed.
    bool PressOk() override;
    void PressCancel();

    const Control& State(ControlId id) const;
    const std::string& Title() const { return title_; }
    bool Closed() const { return closed_; }
    Dialog& Shown() { return dialog_; }

    // How modal steps are answered; unset ones answer Cancel or No, and
    // questions go to the host's windows.
    std::function<bool(Dialog&)> onModal;
    std::function<std::optional<std::string>(const std::string& start)> onChooseFolder;
    std::function<std::optional<std::string>(const FileChoice&)> onChooseFileToSave;
    std::function<std::optional<std::string>(const FileChoice&)> onChooseFileToOpen;

    void SetTitle(const std::string& title) override { title_ = title; }
    void SetText(ControlId id, const std::string& text) override { controls_[id].text = text; }
    std::string Text(ControlId id) const override { return State(id).text; }
    void SetChecked(ControlId id, bool checked) override { controls_[id].checked = checked; }
    bool Checked(ControlId id) const override { return State(id).checked; }
    void SetEnabled(ControlId id, bool enabled) override { controls_[id].enabled = enabled; }
    bool Enabled(ControlId id) const override { return State(id).enabled; }
    void SetVisible(ControlId id, bool visible) override { controls_[id].visible = visible; }
    void FillList(ControlId id, const std::vector<ListEntry>& entries) override;
    void SelectListData(ControlId id, int data) override;
    std::optional<int> SelectedListData(ControlId id) const override;
    void SetSlider(ControlId id, const SliderSpec& spec, int value) override;
    int SliderValue(ControlId id) const override { return State(id).value; }
    void ShowTree(ControlId id, const std::vector<TreeNode>& roots, const TreePath& selected) override;
    TreePath SelectedTreeItem(ControlId id) const override { return State(id).selected; }
    bool RunModal(Dialog& dialog) override { return onModal ? onModal(dialog) : false; }
    // Through the host's alert, where the command line and the tests see it.
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& prompt,
                                            const std::string& start) override;
    std::optional<std::string> ChooseFileToSave(const FileChoice& choice) override;
    std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) override;
    void SetBusy(bool) override {}
    // The plan is kept as shown; waiting work runs when the test says.
    void ShowPlan(const PlanPreview& plan) override;
    void ShowPageArea(ControlId id, const host::PageImage& picture, const std::optional<PixelRect>& area) override;
    std::optional<PixelRect> DrawnArea(ControlId id) const override { return State(id).drawn; }
    void Debounce(int key, int, const std::function<void()>& work) override { waiting[key] = work; }
    void RunWaiting();
    std::vector<PlanPreview> plans;  // as shown, in order
    std::map<int, std::function<void()>> waiting;

private:
    Dialog& dialog_;
    std::vector<ControlSpec> specs_;
    std::map<ControlId, Control> controls_;
    std::string title_;
    bool closed_ = false;
};

}  // namespace tessera
