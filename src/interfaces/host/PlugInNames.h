#pragma once
// The names by which the host reaches the plug-in's things, declared once for
// both sides: the host's command line runs the menu items by them, and its
// batch files name the batch command by them.
namespace tessera::host {

// The plug-in as an extension, and the name of each of its menu items.
inline constexpr const char* kPlugInName = "KORB:Tessera";
// The handler of the plug-in's batch command.
inline constexpr const char* kSplitCommandName = "KORB_TesseraCommand";
// The host's menus the items go in: the split, the help, the about box.
inline constexpr const char* kSplitMenu = "Extensions";
inline constexpr const char* kHelpMenu = "UsingExtensions";
inline constexpr const char* kAboutMenu = "AboutExtensions";

}  // namespace tessera::host
