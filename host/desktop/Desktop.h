#pragma once
// A desktop run's windows as the command line reaches them. The program hands
// in the toolkit's (app/GuiWindows), so the host's library never links the
// windows that link it.
#include <memory>
#include <optional>
#include <string>

#include "viewer/ConsoleViewer.h"
#include "viewer/ConsoleWindows.h"

namespace tessera::app {

// Made before any window, for the whole run.
class Desktop {
public:
    virtual ~Desktop() = default;

    // False when windows are drawn offscreen, where nobody could click a
    // message box: such a run says everything on stderr instead.
    virtual bool HasScreen() const = 0;
    // The viewer and the message boxes of a run on a screen.
    virtual std::unique_ptr<ConsoleViewer> NewViewer() = 0;
    virtual std::unique_ptr<ConsoleWindows> NewWindows() = 0;
    // The document to split, from a file dialog; empty when none was chosen.
    virtual std::string ChooseDocument() = 0;
    // Which password is asked for, and whether a wrong one came before.
    enum class Password { Open, OpenAgain, Owner, OwnerAgain };
    // A password of an encrypted document, asked in a dialog; none when the
    // user cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& document, Password which) = 0;
};

// Null with a message on stderr when there is no display to show windows on.
// A picture run draws offscreen and needs none.
using DesktopStarter = std::unique_ptr<Desktop> (*)(int& argc, char** argv, bool offscreen);

}  // namespace tessera::app
