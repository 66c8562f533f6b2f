#pragma once
// The service tables the plug-in imported from its host, set once at start-up.
#include "shell/host/HostServices.h"

namespace tessera {

// The imported tables. Calling it before SetHost is a programming error.
const host::HostServices& Host();
void SetHost(const host::HostServices& services);

}  // namespace tessera
