#pragma once
// Message boxes, questions and information boxes on a terminal.
#include "host/WindowServices.h"

namespace tessera::app {

class ConsoleWindows : public host::WindowServices {
public:
    void MessageBox(const std::string& text) override;
    // --yes answers Yes; a terminal is asked; anything else answers No.
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowInformation(const std::string& title, const std::vector<std::string>& lines) override;
    // xdg-open on a desktop; without one, the path is printed for the user to open.
    bool OpenWithShell(const std::string& path) override;

    void SetAssumeYes(bool yes) { assumeYes_ = yes; }

private:
    bool assumeYes_ = false;
};

}  // namespace tessera::app
