#include "app/GuiViewer.h"

#include <QMessageBox>

namespace tessera::app {

void GuiViewer::Alert(const std::string& text) {
    progress_.Close();
    QMessageBox::information(nullptr, "Tessera", QString::fromStdString(text));
}

}  // namespace tessera::app
