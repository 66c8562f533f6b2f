#include "engine/ReportHostError.h"

#include "shell/Host.h"

namespace tessera {

void ReportHostError(const host::HostError& error) { Host().viewer->Alert(error.what()); }

}  // namespace tessera
