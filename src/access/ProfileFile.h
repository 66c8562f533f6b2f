#pragma once
// Profile files (".tpr"): the whole settings record, hand-made outputs included.
#include <optional>
#include <string>

#include "model/SplitSettings.h"

namespace tessera {

// Loads the profile over `settings`, which change only when the whole profile
// loads. Else the message to show: why the file was not read or refused.
std::optional<std::string> LoadProfileFile(const std::string& path, SplitSettings& settings);
// Else the message to show: why the file could not be written. Never written
// over a document the run reads.
std::optional<std::string> SaveProfileFile(const std::string& path, const SplitSettings& settings);

}  // namespace tessera
