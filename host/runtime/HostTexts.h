#pragma once
// The host's own texts (its commands' and options' help) in the user's
// language: the plug-in hands over the "HOST_" keys of its language files,
// which it chose by the user's locale; a text without one stays English.
#include <string>
#include <utility>
#include <vector>

namespace tessera::app {

void SetHostTexts(const std::vector<std::pair<std::string, std::string>>& texts);
// The text of "HOST_" + key, else `english`.
std::string HostText(const std::string& key, const std::string& english);

}  // namespace tessera::app

namespace CLI {
class App;
}

namespace tessera::app {

// A command's own options, its help flag among them, under the group
// "Options" in the user's language (CLI11 names it in English).
void NameOptionsGroup(CLI::App& command);

}  // namespace tessera::app
