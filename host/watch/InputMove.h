#pragma once
// Where an input goes once it is split or has failed: into another folder,
// under its own name (or NAME-2.pdf, NAME-3.pdf... beside a file of that
// name), never over another file. On one file system a rename; across file
// systems a copy, read back and compared, then the original removed.
#include <optional>
#include <string>

namespace tessera::app {

// The path the input now has; none, with why in `failure`, when it stays.
std::optional<std::string> MoveInto(const std::string& input, const std::string& folder, std::string& failure);

}  // namespace tessera::app
