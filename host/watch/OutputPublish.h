#pragma once
// A watched input's outputs are written into a staging folder of their own
// and moved into the output folder only when the split is done: no other
// input's outputs are replaced (two scans whose settings name their outputs
// alike would otherwise overwrite each other, unsaid), while an input split
// again (changed, dropped anew, or after a crash) replaces its own. What an
// input published is kept in the output folder's state, written before any
// file moves, so that a crash half way through is finished by the next split.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace tessera::app {

// The output root's state folder, and the staging folder of the input `key`
// (its path inside the watched folder) there.
std::string OutputStateFolder(const std::string& outputRoot);
std::string StagingFolder(const std::string& outputRoot, const std::string& key);

// Moves every file of `staging` to the same place under `folder`. `outputs`:
// the split's report entries, their paths in `staging`; returned with their
// paths moved. None, with why in `failure` and the staging folder removed,
// when a file would replace one this key did not publish.
std::optional<nlohmann::json> PublishOutputs(const std::string& outputRoot, const std::string& key,
                                             const std::string& folder, nlohmann::json outputs, std::string& failure);

}  // namespace tessera::app
