// The module's one export, and the one place that puts the plug-in together
// with its windows: built only into Tessera.api, which links both.
#include "shell/Handshake.h"
#include "ui/qt/QtWindowFactory.h"

extern "C" __attribute__((visibility("default"))) bool PlugInMain(std::uint32_t hostVersion, std::uint32_t* version,
                                                                  tessera::host::HandshakeProcedure* handshake,
                                                                  const tessera::host::HostData* data) {
    return tessera::PlugInEntry(hostVersion, version, handshake, data, std::make_unique<tessera::QtWindowFactory>());
}
