#pragma once
// A dialog's logic, apart from any toolkit: the controls it has, and what
// happens when it opens, when the user acts on a control and when it closes.
// The window (DialogView) only shows and forwards; every rule lives here.
#include <string>
#include <vector>

#include "ui/DialogView.h"

namespace tessera {

enum class ControlKind {
    Text,        // fixed or dialog-set text
    Edit,        // one line of text, its caption before it
    NumberEdit,  // digits only
    CheckBox,
    Radio,  // radios of one group box are exclusive
    Button,
    DropDown,
    Tree,
    Slider,
    Group,  // a framed box holding the controls that name it as their group
    Picture,
    Swatch,    // a small box filled with the colour its text gives as "#RRGGBB"; plain when blank
    PageArea,  // a page's picture on which the user draws a rectangle
};

struct ControlSpec {
    ControlId id = 0;  // 0 for fixed texts nothing refers to
    ControlKind kind = ControlKind::Text;
    std::string caption;
    ControlId group = 0;              // the group box it sits in; 0 for the dialog itself
    bool beside = false;              // on the row of the control before it
    int maxLength = 0;                // of an edit's text; 0 for no limit
    Picture picture = Picture::None;  // what a Picture control shows
};

// A context menu's entry: the command it sends back, or a separator when empty.
struct MenuEntry {
    ControlId command = 0;
    std::string text;
};

class Dialog {
public:
    virtual ~Dialog() = default;

    // The window's caption, as long as Open does not set another.
    virtual std::string Caption() const = 0;
    // In the order they are laid out.
    virtual std::vector<ControlSpec> Controls() const = 0;

    // Fills the controls; the view is the dialog's until it closes.
    virtual void Open(DialogView& view) = 0;
    // The user clicked a button, check box or radio, edited a text, chose in a
    // list or tree, moved a slider or chose a menu command.
    virtual void Changed(ControlId /*id*/) {}
    // A double click on the selected item of a tree.
    virtual void Activated(ControlId /*id*/) {}
    // The Delete key in a tree.
    virtual void DeletePressed(ControlId /*id*/) {}
    // OK: true when the dialog may close with OK.
    virtual bool Accept() = 0;
    // Cancel, Escape or the close box.
    virtual void Reject() {}

    virtual std::string Tooltip(ControlId /*id*/) const { return {}; }
    // The group boxes (0 for the dialog's own rows) whose rows form columns:
    // the controls after their captions line up.
    virtual std::vector<ControlId> AlignedGroups() const { return {}; }
    // The menu for the tree's selected item; empty for none.
    virtual std::vector<MenuEntry> ContextMenu(ControlId /*id*/) const { return {}; }
    // A dialog that knows at opening it has nothing to show closes at once as
    // Cancel (the bookmark picker without bookmarks).
    virtual bool ClosesAtOnce() const { return false; }
};

}  // namespace tessera
