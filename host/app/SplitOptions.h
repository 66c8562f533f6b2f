#pragma once
// The options of "tessera split": each sets one field of the settings.
#include <CLI/CLI.hpp>

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
};

void AddSplitOptions(CLI::App& split, SplitRequest& request);
// Sets the fields the options name; CLI::ValidationError for a malformed value.
void ApplySplitOptions(const SplitRequest& request, SplitSettings& settings);

}  // namespace tessera::app
