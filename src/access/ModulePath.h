#pragma once
// Where the plug-in module lies; its language files and help file lie beside it.
#include <string>

namespace tessera {

// The full path of the loaded module, as the system reports it.
std::string ModulePath();
// The module's folder, ending in "/".
std::string ModuleFolder();
// The module's file name without its extension ("Tessera" for Tessera.api).
std::string ModuleBaseName();
// The module path with its ".api" ending replaced by ".htm"; when that is
// missing and the installed tree has it, share/doc/tessera/ of the tree.
std::string HelpFilePath();

}  // namespace tessera
