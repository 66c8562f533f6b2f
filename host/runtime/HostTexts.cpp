#include "runtime/HostTexts.h"

#include <CLI/CLI.hpp>

#include <map>

namespace tessera::app {
namespace {

std::map<std::string, std::string>& Texts() {
    static std::map<std::string, std::string> texts;
    return texts;
}

}  // namespace

void SetHostTexts(const std::vector<std::pair<std::string, std::string>>& texts) {
    Texts() = {texts.begin(), texts.end()};
}

std::string HostText(const std::string& key, const std::string& english) {
    const auto found = Texts().find("HOST_" + key);
    return found == Texts().end() || found->second.empty() ? english : found->second;
}

void NameOptionsGroup(CLI::App& command) {
    const std::string group = HostText("label_Options", "Options");
    command.option_defaults()->group(group);
    if (CLI::Option* help = command.get_help_ptr()) help->group(group);
}

}  // namespace tessera::app
