#pragma once
// What a dialog's logic asks of the window that shows it. A toolkit
// implements it over real widgets; the tests over plain memory
// (tests/support/MemoryView.h). Controls are named by the numbers the
// dialog's control table gives them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/PagePixelServices.h"
#include "strings/LanguageTable.h"
#include "ui/UserQuestions.h"

namespace tessera {

using ControlId = int;
inline constexpr ControlId kOkButton = 1;
inline constexpr ControlId kCancelButton = 2;

class Dialog;
struct PlanPreview;

// One entry of a drop-down list and the number it stands for.
struct ListEntry {
    std::string text;
    int data = 0;
};

// The pictures dialogs show, by what they mean; the toolkit draws them.
enum class Picture {
    None,
    OutputDocument,
    RangeInside,   // a page range within the input document
    RangeOutside,  // one that reaches beyond it
    UsableBookmark,
    NotUsableBookmark,
    PageAreaSample,  // a page with an area marked on it and its four distances
    PageElements,
    Product,
};

// One item of a tree control and its children, as the window shows it.
struct TreeNode {
    std::string text;
    Picture icon = Picture::None;
    bool expanded = false;
    std::vector<TreeNode> children;
};

// An item of a tree by its index among its siblings at each level from the
// top; empty when nothing is selected.
using TreePath = std::vector<int>;

struct SliderSpec {
    int minimum = 0;
    int maximum = 100;
    int tick = 10;  // a tick mark every so many steps
    int pageStep = 10;
};

// The platform file dialog's settings.
struct FileChoice {
    std::string filter;            // as "Name (*.ext)|*.ext|All Files (*.*)|*.*||"
    std::string defaultExtension;  // without the dot; empty for none
    std::string proposedName;
};

// A rectangle in a picture's pixels, edges included from left and top.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Its messages and questions (UserQuestions) belong to the dialog's window.
class DialogView : public UserQuestions {
public:
    ~DialogView() override = default;

    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetText(ControlId id, const std::string& text) = 0;
    virtual std::string Text(ControlId id) const = 0;
    virtual void SetChecked(ControlId id, bool checked) = 0;
    virtual bool Checked(ControlId id) const = 0;
    virtual void SetEnabled(ControlId id, bool enabled) = 0;
    virtual bool Enabled(ControlId id) const = 0;
    virtual void SetVisible(ControlId id, bool visible) = 0;

    // Drop-down lists: the entries in the order shown; selecting a number
    // that no entry has leaves none selected.
    virtual void FillList(ControlId id, const std::vector<ListEntry>& entries) = 0;
    virtual void SelectListData(ControlId id, int data) = 0;
    virtual std::optional<int> SelectedListData(ControlId id) const = 0;

    virtual void SetSlider(ControlId id, const SliderSpec& spec, int value) = 0;
    virtual int SliderValue(ControlId id) const = 0;

    // Shows the whole tree anew with `selected` selected and scrolled into view.
    virtual void ShowTree(ControlId id, const std::vector<TreeNode>& roots, const TreePath& selected) = 0;
    virtual TreePath SelectedTreeItem(ControlId id) const = 0;

    // Modal steps over this window. RunModal shows another dialog and is true
    // when it closed with OK.
    virtual bool RunModal(Dialog& dialog) = 0;
    // Every message a dialog's logic gives goes to ShowMessage; this one is
    // the language table's text of a key.
    void ShowMessageByKey(std::string_view key) { ShowMessage(LookupString(key)); }
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& prompt,
                                                    const std::string& start) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileChoice& choice) = 0;
    virtual std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) = 0;
    // OK as its button does, for a dialog whose other acts also mean OK (a
    // double click on a list's item): the dialog's Accept decides whether the
    // window closes. True when it closed.
    virtual bool PressOk() = 0;
    // A wait cursor while long work runs inside a handler.
    virtual void SetBusy(bool busy) = 0;
    // A page-area control's picture and the rectangle shown on it (none for none).
    virtual void ShowPageArea(ControlId /*id*/, const host::PageImage& /*picture*/,
                              const std::optional<PixelRect>& /*area*/) {}
    // The rectangle the user drew on it last, from where the press started to
    // where it ended, in either order; none before one was drawn.
    virtual std::optional<PixelRect> DrawnArea(ControlId /*id*/) const { return std::nullopt; }
    // The plan of the settings as they stand, beside the dialog; a view
    // without a place for it shows nothing.
    virtual void ShowPlan(const PlanPreview& /*plan*/) {}
    // Runs `work` once `milliseconds` have passed without another call for
    // the same `key`, after the handler that called it; a view that cannot
    // wait drops it.
    virtual void Debounce(int /*key*/, int /*milliseconds*/, const std::function<void()>& /*work*/) {}
};

}  // namespace tessera
