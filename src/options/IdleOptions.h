#pragma once
// Options that mean something only beside a method or another option: given
// without it, they would change nothing, and the user would never know.
#include <optional>
#include <string>
#include <vector>

#include "host/CommandLineServices.h"
#include "model/SplitSettings.h"

namespace tessera {

// Why the first option given that the settings leave idle changes nothing
// ("--duplex goes with --separator blank, scan, code or sheet="), or none.
std::optional<std::string> IdleOptionRefusal(const std::vector<host::OptionValue>& options,
                                             const SplitSettings& settings);

}  // namespace tessera
