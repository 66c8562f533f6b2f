#pragma once
// Running the real tessera program and independent PDF tools from tests.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "support/RunCommand.h"
#include "support/TempFolder.h"

namespace tessera::test {

// tessera with its settings kept in `config` (never the user's own).
CommandResult Tessera(const TempFolder& config, const std::string& arguments);
std::string Data(const std::string& name);
nlohmann::json QpdfJson(const std::string& file, const std::string& keys);
// The dry-run lines split into their tab-separated fields.
std::vector<std::vector<std::string>> PlanLines(const std::string& output);

}  // namespace tessera::test
