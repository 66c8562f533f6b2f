#pragma once
// The plug-in's side of loading: the entry, the handshake and setup
// procedures, and the callbacks the host calls in turn.
#include <cstdint>

#include "host/Handshake.h"

namespace tessera {

bool PlugInEntry(std::uint32_t hostVersion, std::uint32_t* version, host::HandshakeProcedure* handshake,
                 const host::HostData* data);
bool HandshakeProcedure(std::uint32_t version, host::HandshakeRecord* record);
bool SetupProcedure(std::uint32_t version, host::SetupRecord* record);

// Values kept from the handshake until the module unloads.
host::ExtensionId ExtensionIdentity();
std::uintptr_t HostMainWindow();

}  // namespace tessera
