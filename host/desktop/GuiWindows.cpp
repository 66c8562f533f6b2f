#include "desktop/GuiWindows.h"

#include "desktop/GuiViewer.h"
#include "runtime/HostTexts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

#include <cstdlib>
#include <iostream>

namespace tessera::app {

void GuiWindows::MessageBox(const std::string& text) {
    QMessageBox::information(nullptr, "Tessera", QString::fromStdString(text));
}

bool GuiWindows::AskYesNo(const std::string& title, const std::string& text) {
    return QMessageBox::question(nullptr, QString::fromStdString(title), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void GuiWindows::ShowInformation(const std::string& title, const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) text << QString::fromStdString(line);
    QMessageBox::information(nullptr, QString::fromStdString(title), text.join('\n'));
}

bool GuiWindows::OpenWithShell(const std::string& path) {
    const QString file = QString::fromStdString(path);
    return QFileInfo::exists(file) && QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

QtDesktop::QtDesktop(int& argc, char** argv) : application_(std::make_unique<QApplication>(argc, argv)) {}

QtDesktop::~QtDesktop() = default;

std::unique_ptr<ConsoleViewer> QtDesktop::NewViewer() { return std::make_unique<GuiViewer>(); }

std::unique_ptr<ConsoleWindows> QtDesktop::NewWindows() { return std::make_unique<GuiWindows>(); }

bool QtDesktop::HasScreen() const {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

std::unique_ptr<Desktop> StartDesktop(int& argc, char** argv, bool offscreen) {
    if (offscreen && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt would abort without a display; say why instead.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::cerr << "tessera: there is no display to show the window on (DISPLAY is not set)" << std::endl;
        return nullptr;
    }
    return std::make_unique<QtDesktop>(argc, argv);
}

std::string QtDesktop::ChooseDocument() {
    return QFileDialog::getOpenFileName(nullptr, "Tessera", {}, "PDF Files (*.pdf);;All Files (*)").toStdString();
}

std::optional<std::string> QtDesktop::AskPassword(const std::string& document, Password which) {
    const QString name = QFileInfo(QString::fromStdString(document)).fileName();
    const auto text = [](const char* key, const char* english) {
        return QString::fromStdString(HostText(key, english));
    };
    QString prompt;
    switch (which) {
        case Password::Open:
            prompt = text("password_open", "%1 is encrypted. Password to open it:");
            break;
        case Password::OpenAgain:
            prompt = text("password_open_again", "The password is not right. Password of %1:");
            break;
        case Password::Owner:
            prompt = text("password_owner",
                          "%1 lets its pages be taken out only with its owner password (the "
                          "permissions password). Owner password:");
            break;
        case Password::OwnerAgain:
            prompt = text("password_owner_again", "That is not the owner password of %1. Owner password:");
            break;
    }
    prompt = prompt.arg(name);
    bool ok = false;
    const QString password = QInputDialog::getText(nullptr, "Tessera", prompt, QLineEdit::Password, {}, &ok);
    if (!ok) return std::nullopt;
    return password.toStdString();
}

}  // namespace tessera::app
