// The module's one export. Its windows come from a module of their own,
// loaded when the first one is shown (shell/LoadedWindows).
#include "shell/Handshake.h"
#include "shell/LoadedWindows.h"

extern "C" __attribute__((visibility("default"))) bool PlugInMain(std::uint32_t hostVersion, std::uint32_t* version,
                                                                  tessera::host::HandshakeProcedure* handshake,
                                                                  const tessera::host::HostData* data) {
    return tessera::PlugInEntry(hostVersion, version, handshake, data, std::make_unique<tessera::LoadedWindows>());
}
