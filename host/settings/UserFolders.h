#pragma once
// Where the user's own folders are, found as the desktop finds them.
#include <optional>
#include <string>

namespace tessera::settings {

// $HOME, or the home folder of the user's entry in the password database
// when HOME is unset or empty; none when there is neither.
std::optional<std::string> HomeFolder();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::optional<std::string> ConfigFolder();
// The documents folder as `xdg-user-dir DOCUMENTS` gives it: XDG_DOCUMENTS_DIR
// of $XDG_CONFIG_HOME/user-dirs.dirs, else of the environment; else
// ~/Documents; else the home folder. Only folders that exist count.
std::optional<std::string> DocumentsFolder();

// The value of XDG_DOCUMENTS_DIR in the text of a user-dirs.dirs file, with
// a leading $HOME replaced by `home`; none when the file does not set it.
std::optional<std::string> DocumentsDirOf(const std::string& userDirs, const std::string& home);

}  // namespace tessera::settings
