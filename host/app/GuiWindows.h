#pragma once
// Message boxes, questions, information and the help file on the desktop.
#include <memory>
#include <optional>

#include "app/ConsoleWindows.h"

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
class Desktop {
public:
    Desktop(int& argc, char** argv);
    ~Desktop();

    // False when windows are drawn offscreen, where nobody could click a
    // message box: such a run says everything on stderr instead.
    bool HasScreen() const;

private:
    std::unique_ptr<QApplication> application_;
};

// Null with a message on stderr when there is no display to show windows on.
// A picture run draws offscreen and needs none.
std::unique_ptr<Desktop> StartDesktop(int& argc, char** argv, bool offscreen);
// The document to split, from Qt's file dialog; empty when none was chosen.
std::string ChooseDocument();
// The password of an encrypted document, asked in a dialog; none when the
// user cancelled. `again` after a wrong one.
std::optional<std::string> AskPassword(const std::string& document, bool again);

}  // namespace tessera::app
