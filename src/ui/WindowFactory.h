#pragma once
// The dialogs' windows as the plug-in reaches them. The toolkit's windows are
// a module of their own (TesseraWindows.so), opened by the shell the first time
// a window is shown, so that a run that shows none never loads the toolkit; no
// code of ui/ names the toolkit, and a process without windows shows none.
#include <string>

#include "ui/Dialog.h"

namespace tessera {

class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    // Whether windows can be shown: false, after saying why, when the
    // toolkit's windows cannot be loaded.
    virtual bool Ready() { return true; }
    // Shows a dialog of its own (not over another dialog) modally; true when it closed with OK.
    virtual bool RunModal(Dialog& dialog) = 0;
    // The dialog's window as it opens, drawn offscreen into a PNG file; false
    // when it could not be written.
    virtual bool SaveImage(Dialog& dialog, const std::string& path) = 0;
};

// What the windows ask of the plug-in. They take nothing of it by name: a
// program that links the plug-in itself (the tests) would hand a loaded
// module its own copy of the plug-in's functions instead of the module's.
struct ViewServices {
    std::string (*caption)(const std::string& english);  // a control's caption in the user's language
    void (*alert)(const std::string& text);              // a message over the windows
};

// This plug-in's: its language tables and its host's viewer.
ViewServices PlugInViewServices();

}  // namespace tessera
