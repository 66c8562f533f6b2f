#include "app/GuiViewer.h"

#include <QMessageBox>

namespace tessera::app {

void GuiViewer::AlertWarning(const std::string& text) {
    holding_ = true;
    ConsoleViewer::AlertWarning(text);
    holding_ = false;
}

void GuiViewer::Alert(const std::string& text) {
    if (!text.empty() && text.front() == kWarningMark) return AlertWarning(text.substr(1));
    if (holding_) return heldWarnings_.push_back(text);
    std::string shown;
    for (const std::string& warning : heldWarnings_) shown += warning + "\n";
    heldWarnings_.clear();
    shown += (shown.empty() ? "" : "\n") + text;
    progress_.Close();
    QMessageBox::information(nullptr, "Tessera", QString::fromStdString(shown));
}

}  // namespace tessera::app
