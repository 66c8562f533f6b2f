#pragma once
// Platform message boxes and dialogs ("Win").
#include <string>
#include <vector>

namespace tessera::host {

class WindowServices {
public:
    virtual ~WindowServices() = default;
    // A plain message box, OK only, for texts outside the language table.
    virtual void MessageBox(const std::string& text) = 0;
    // A Yes/No question; true only for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    // A modal box showing lines of information (the about box).
    virtual void ShowInformation(const std::string& title, const std::vector<std::string>& lines) = 0;
    // The platform's "open" verb on a file; false when it could not be opened.
    virtual bool OpenWithShell(const std::string& path) = 0;
};

}  // namespace tessera::host
