#pragma once
// The one table of the split dialog's fields as command-line options: each
// option's name, kind and help, and the settings field it sets.
#include <string>
#include <vector>

#include "model/SplitSettings.h"
#include "shell/host/CommandLineServices.h"

namespace tessera {

// The options, for the host to parse its command line with.
std::vector<host::OptionSpec> SplitOptionSpecs();
// Sets the field an option names. False with a message that points at what
// is wrong when the value does not fit.
bool ApplySplitOption(const host::OptionValue& option, SplitSettings& settings, std::string& error);

}  // namespace tessera
