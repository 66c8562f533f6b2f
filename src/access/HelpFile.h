#pragma once
// Opening the help file beside the module, from the menu and from the dialog.

namespace tessera {

// Opens the help file with the platform's "open" verb; false after saying why
// not: that it is missing, or that it is there but nothing could open it.
bool OpenHelpFile();

}  // namespace tessera
