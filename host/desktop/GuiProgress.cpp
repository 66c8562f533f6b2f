#include "desktop/GuiProgress.h"

#include <QApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QScreen>

namespace tessera::app {

GuiProgress::GuiProgress() = default;

GuiProgress::~GuiProgress() = default;

void GuiProgress::BeginOperation() {
    if (depth_++ > 0) return;
    if (!dialog_) {
        dialog_ = std::make_unique<QProgressDialog>();
        dialog_->setWindowTitle("Tessera");
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] { cancelled_ = true; });
    }
    dialog_->show();
    // No window is open to place it over: the middle of the screen, not its corner.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog_->adjustSize();
        dialog_->move(screen->availableGeometry().center() - dialog_->rect().center());
    }
    QApplication::processEvents();
}

void GuiProgress::SetDuration(int steps) {
    if (dialog_ && depth_ <= 1) dialog_->setMaximum(steps);
}

void GuiProgress::SetValue(int step) {
    if (dialog_ && depth_ <= 1) dialog_->setValue(step);
    QApplication::processEvents();
}

void GuiProgress::SetText(const std::string& text) {
    if (dialog_) dialog_->setLabelText(QString::fromStdString(text));
}

bool GuiProgress::CancelRequested() {
    QApplication::processEvents();
    return cancelled_;
}

void GuiProgress::Close() {
    if (dialog_) dialog_->hide();
}

}  // namespace tessera::app
