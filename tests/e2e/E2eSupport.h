#pragma once
// Running the real tessera program and independent PDF tools from tests.
#include <nlohmann/json.hpp>

#include <set>
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
// Each page's content as qpdf reads it (decrypted, its streams joined into
// one), so that pages sharing streams can be told apart and files compared.
std::vector<std::string> PageContents(const std::string& file);

// The pages of a one-output dry run, one by one ("4-6,9" gives "4,5,6,9");
// empty for no output, "(N outputs)" for more than one.
std::string PlannedPages(const CommandResult& r);
std::string JoinPages(const std::set<int>& pages);

}  // namespace tessera::test
