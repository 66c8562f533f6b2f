#pragma once
// The plug-in's side of loading: the entry, the handshake and setup
// procedures, and the callbacks the host calls in turn.
#include <cstdint>
#include <memory>

#include "host/Handshake.h"
#include "ui/WindowFactory.h"

namespace tessera {

// The module's entry hands over the toolkit's windows with the host's data.
bool PlugInEntry(std::uint32_t hostVersion, std::uint32_t* version, host::HandshakeProcedure* handshake,
                 const host::HostData* data, std::unique_ptr<WindowFactory> windows);
bool HandshakeProcedure(std::uint32_t version, host::HandshakeRecord* record);
bool SetupProcedure(std::uint32_t version, host::SetupRecord* record);

// Values kept from the handshake until the module unloads.
host::ExtensionId ExtensionIdentity();
std::uintptr_t HostMainWindow();
// The windows the module was started with; null where none can be shown,
// and every dialog then ends as Cancel.
WindowFactory* Windows();
// For a process that runs the plug-in without loading the module (the tests).
void HandWindows(std::unique_ptr<WindowFactory> windows);

}  // namespace tessera
