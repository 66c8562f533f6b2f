#pragma once
// Message boxes, questions, information and the help file on the desktop.
#include <memory>
#include <optional>

#include "desktop/Desktop.h"
#include "viewer/ConsoleWindows.h"

class QApplication;

namespace tessera::app {

class GuiWindows : public ConsoleWindows {
public:
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowInformation(const std::string& title, const std::vector<std::string>& lines) override;
    bool OpenWithShell(const std::string& path) override;
};

// The QApplication of a desktop run, made before any window.
class QtDesktop : public Desktop {
public:
    QtDesktop(int& argc, char** argv);
    ~QtDesktop() override;

    bool HasScreen() const override;
    std::unique_ptr<ConsoleViewer> NewViewer() override;
    std::unique_ptr<ConsoleWindows> NewWindows() override;
    std::string ChooseDocument() override;
    std::optional<std::string> AskPassword(const std::string& document, Password which) override;

private:
    std::unique_ptr<QApplication> application_;
};

// The program's DesktopStarter.
std::unique_ptr<Desktop> StartDesktop(int& argc, char** argv, bool offscreen);

}  // namespace tessera::app
