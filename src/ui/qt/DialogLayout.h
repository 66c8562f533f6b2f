#pragma once
// The widgets of a dialog's control table and where they sit: each group box
// holds its controls, a control marked "beside" joins the row before it, and
// a dialog of many group boxes spreads them over two columns to stay within
// a small screen.
#include <QDialog>

#include <map>

#include "ui/Dialog.h"

class QLabel;

namespace tessera {

struct DialogControl {
    ControlKind kind = ControlKind::Text;
    QWidget* widget = nullptr;
    QLabel* label = nullptr;  // the caption before an edit, list or slider
    ControlId group = 0;
};

using DialogControls = std::map<ControlId, DialogControl>;

// `aligned`: the groups (0 for the dialog's own rows) whose rows line up in columns.
DialogControls LayOutControls(QDialog& window, const std::vector<ControlSpec>& specs,
                              const std::vector<ControlId>& aligned);
// A fixed or dialog-set text, wrapped when it is long.
void SetLabelText(QLabel& label, const QString& text);

}  // namespace tessera
