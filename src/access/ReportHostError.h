#pragma once
#include "host/HostError.h"

namespace tessera {

// Shows the host error's text in the host's modal alert: the standard handler
// of a guarded group of host calls.
void ReportHostError(const host::HostError& error);

}  // namespace tessera
