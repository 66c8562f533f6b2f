// The module's one export. Built only into Tessera.api.
#include "shell/Handshake.h"

extern "C" __attribute__((visibility("default"))) bool PlugInMain(std::uint32_t hostVersion, std::uint32_t* version,
                                                                  tessera::host::HandshakeProcedure* handshake,
                                                                  const tessera::host::HostData* data) {
    return tessera::PlugInEntry(hostVersion, version, handshake, data);
}
