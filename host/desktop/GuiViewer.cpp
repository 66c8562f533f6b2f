#include "desktop/GuiViewer.h"

#include <QMessageBox>

namespace tessera::app {

void GuiViewer::AlertWarning(const std::string& text) {
    holding_ = true;
    ConsoleViewer::AlertWarning(text);
    holding_ = false;
}

void GuiViewer::Alert(const std::string& text) { Show(text, false); }

void GuiViewer::AlertReport(const std::string& text) { Show(text, true); }

// A report of work done wears the information icon; a refusal or failure,
// or a report that comes with warnings, the warning icon.
void GuiViewer::Show(const std::string& text, bool report) {
    if (!text.empty() && text.front() == kWarningMark) return AlertWarning(text.substr(1));
    if (holding_) return heldWarnings_.push_back(text);
    std::string shown;
    for (const std::string& warning : heldWarnings_) shown += warning + "\n";
    const bool warned = !heldWarnings_.empty();
    heldWarnings_.clear();
    shown += (shown.empty() ? "" : "\n") + text;
    progress_.Close();
    if (report && !warned)
        QMessageBox::information(nullptr, "Tessera", QString::fromStdString(shown));
    else
        QMessageBox::warning(nullptr, "Tessera", QString::fromStdString(shown));
}

}  // namespace tessera::app
