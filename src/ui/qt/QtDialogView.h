#pragma once
// A dialog's window in Qt Widgets, built from the dialog's control table: any
// dialog shows in it. It only shows what the dialog sets and tells the dialog
// what the user did; every rule stays in the dialog.
#include <QDialog>
#include <QTimer>

#include <functional>
#include <map>

#include "ui/Dialog.h"
#include "ui/qt/DialogLayout.h"

namespace tessera {

// A file choice's filter, "Name (*.x)|*.x|All Files (*.*)|*.*||", as Qt's
// file dialogs write it: "Name (*.x);;All Files (*)".
QString QtFileFilter(const std::string& filter);

class PlanWindow;

class QtDialogView : public QDialog, public DialogView {
public:
    // What drives the windows instead of a user, in a test: called with each
    // window as it starts running modally, the windows it opens included.
    using Driver = std::function<void(QtDialogView&)>;

    // Builds the window and opens the dialog over it.
    explicit QtDialogView(Dialog& dialog, QWidget* parent = nullptr, Driver driver = {});

    // Shows the window modally; true when it closed with OK. A dialog that
    // has nothing to show closes at once as Cancel.
    bool Run();
    // The window as it opens, drawn offscreen into a PNG file.
    bool SaveImage(const std::string& path);
    QWidget* Widget(ControlId id) const;
    Dialog& Shown() { return dialog_; }

    void SetTitle(const std::string& title) override;
    void SetText(ControlId id, const std::string& text) override;
    std::string Text(ControlId id) const override;
    void SetChecked(ControlId id, bool checked) override;
    bool Checked(ControlId id) const override;
    void SetEnabled(ControlId id, bool enabled) override;
    bool Enabled(ControlId id) const override;
    void SetVisible(ControlId id, bool visible) override;
    void FillList(ControlId id, const std::vector<ListEntry>& entries) override;
    void SelectListData(ControlId id, int data) override;
    std::optional<int> SelectedListData(ControlId id) const override;
    void SetSlider(ControlId id, const SliderSpec& spec, int value) override;
    int SliderValue(ControlId id) const override;
    void ShowTree(ControlId id, const std::vector<TreeNode>& roots, const TreePath& selected) override;
    TreePath SelectedTreeItem(ControlId id) const override;
    bool RunModal(Dialog& dialog) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& prompt,
                                            const std::string& start) override;
    std::optional<std::string> ChooseFileToSave(const FileChoice& choice) override;
    std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) override;
    void SetBusy(bool busy) override;
    void ShowPageArea(ControlId id, const host::PageImage& picture, const std::optional<PixelRect>& area) override;
    std::optional<PixelRect> DrawnArea(ControlId id) const override;
    void ShowPlan(const PlanPreview& plan) override;
    void Debounce(int key, int milliseconds, const std::function<void()>& work) override;
    // The window the plan is shown in; null before the first plan.
    PlanWindow* Plan() const { return plan_; }

    void reject() override;
    bool PressOk() override;

private:
    void Connect(ControlId id, const DialogControl& control);
    void ConnectTree(ControlId id, QWidget* tree);
    void Clicked(ControlId id);
    void ShowContextMenu(ControlId id, const QPoint& at);
    // User acts reach the dialog; changes the dialog itself makes do not.
    void Tell(ControlId id);
    void ShowTooltips();
    void PlaceBeside(QWidget& window);

    Dialog& dialog_;
    Driver driver_;
    DialogControls controls_;
    int filling_ = 0;
    bool rejected_ = false;
    bool busy_ = false;
    PlanWindow* plan_ = nullptr;
    std::map<int, QTimer*> waiting_;
};

}  // namespace tessera
