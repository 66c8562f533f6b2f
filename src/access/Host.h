#pragma once
// The service tables the plug-in imported from its host.
#include <array>
#include <cstdint>

#include "host/CoreServices.h"
#include "host/HostServices.h"

namespace tessera {

// The imported services. Calling it before they are set is a programming error.
const host::HostServices& Host();
// Sets the services directly, for a host that links the plug-in in (tests);
// returns the services set before.
host::HostServices SetHost(const host::HostServices& services);

struct ImportedTable {
    const void* table = nullptr;
    std::uint32_t version = 0;  // 0 when the host did not offer it
};
// Imports every named table in order, asking for each version of the version
// list from the last down while it is at least host::kTableVersion (the tables
// this plug-in reads: older ones lack interfaces it calls). False as soon as a
// required table is missing (the later ones are not imported).
bool ImportHostTables(host::CoreServices& core);

}  // namespace tessera
