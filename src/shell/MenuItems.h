#pragma once
// The plug-in's three menu items: split, help and about.
#include "host/Handshake.h"
#include "host/PlugInNames.h"

namespace tessera {

inline constexpr const char* kMenuItemName = host::kPlugInName;

// Adds the items to the host menus "Extensions", "UsingExtensions" and
// "AboutExtensions", where the host has them.
void InstallMenuItems(host::ExtensionId extension);

// The split item is enabled exactly while the host has an active document.
bool SplitItemEnabled(void* clientData);
// Opens the help file with the platform; says so when it cannot.
void HelpAction(void* clientData);
void AboutAction(void* clientData);

}  // namespace tessera
