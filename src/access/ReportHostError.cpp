#include "access/ReportHostError.h"

#include "access/Host.h"

namespace tessera {

void ReportHostError(const host::HostError& error) { Host().viewer->Alert(error.what()); }

}  // namespace tessera
