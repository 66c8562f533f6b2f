#pragma once
// Profile files (".tpr"): the whole settings record, hand-made outputs included.
#include <string>

#include "model/SplitSettings.h"
#include "strings/Result.h"

namespace tessera {

// Loads the profile over `settings`, which change only when the whole profile
// loads; else the message to show: why the file was not read or refused.
Result<> LoadProfileFile(const std::string& path, SplitSettings& settings);
// Else the message to show: why the file could not be written. Never written
// over a document the run reads.
Result<> SaveProfileFile(const std::string& path, const SplitSettings& settings);

}  // namespace tessera
