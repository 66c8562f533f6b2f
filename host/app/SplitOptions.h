#pragma once
// The options of "tessera split": each sets one field of the settings.
#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>

#include "model/SplitSettings.h"

namespace tessera::app {

struct SplitRequest {
    std::string input;
    std::string password;
    bool dryRun = false;
    bool reset = false;
    bool quiet = false;
    bool yes = false;
    std::optional<int> equal;
    std::optional<std::string> bookmarks;
    std::optional<std::string> outputFolder;
    std::optional<std::string> prefix;
    std::optional<std::string> base;
    std::optional<std::string> suffix;
    std::optional<std::string> openPassword;
    std::optional<std::string> permissionsPassword;
    std::optional<std::string> deny;
    std::map<std::string, bool> flags;  // "--x" true, "--no-x" false
};

void AddSplitOptions(CLI::App& split, SplitRequest& request);
// Sets the fields the options name; CLI::ValidationError for a malformed value.
void ApplySplitOptions(const SplitRequest& request, SplitSettings& settings);

}  // namespace tessera::app
