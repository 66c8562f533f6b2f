#pragma once
// The dialog's working copy of the settings kept in the per-user settings store
// (section "SplitSettings") between runs.
#include <string>

#include "model/SplitSettings.h"

namespace tessera {

// The settings' key in the store: the module's name, then "SplitSettings".
std::string SettingsKey();

// Reads every stored value; missing or unreadable ones keep their initial
// value, an empty output folder becomes DefaultOutputFolder. Never fails.
void LoadSettingsFromRegistry(SplitSettings& settings);
// Writes every stored value (not AllowAll, the stored-only naming fields or the
// output list). Silent on failure.
void SaveSettingsToRegistry(const SplitSettings& settings);

// The user's documents folder as the host finds it, else "/"; always ending
// in "/".
std::string DefaultOutputFolder();

}  // namespace tessera
