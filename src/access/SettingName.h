#pragma once
// A setting as the user reaches it: in a window its control's caption, as
// the window shows it; on the command line its option.
#include <string>

#include "model/SettingsSchema.h"

namespace tessera {

// "“Caption”" when the host shows windows, else "--option".
std::string SettingName(const SettingsRow& row);

}  // namespace tessera
