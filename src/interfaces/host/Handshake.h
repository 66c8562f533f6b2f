#pragma once
// The records the host and the plug-in module exchange while the module
// loads. The module exports one C entry, PlugInMain; everything else is
// reached through the procedures these records carry.
#include <cstdint>

namespace tessera::host {

class CoreServices;

inline constexpr std::uint32_t kHandshakeVersion = 0x20000;

// The host's opaque identity for the loaded extension.
using ExtensionId = std::uintptr_t;
using Atom = std::uint32_t;

using Callback = bool (*)();
using SetupProcedure = bool (*)(std::uint32_t version, struct SetupRecord* record);

struct HandshakeRecord {
    std::uint32_t version = kHandshakeVersion;  // must be kHandshakeVersion
    ExtensionId extension = 0;
    CoreServices* core = nullptr;
    SetupProcedure setup = nullptr;  // filled by the plug-in
};

using HandshakeProcedure = bool (*)(std::uint32_t version, HandshakeRecord* record);

struct SetupRecord {
    Atom name = 0;  // the extension's name, filled by the plug-in
    Callback exportTables = nullptr;
    Callback importAndRegister = nullptr;
    Callback init = nullptr;
    Callback unload = nullptr;
};

// Host data handed to PlugInMain: the main window and a second host value.
struct HostData {
    std::uintptr_t mainWindow = 0;
    std::uintptr_t other = 0;
};

// The module's entry:
// bool PlugInMain(uint32_t hostVersion, uint32_t* version, HandshakeProcedure* handshake, const HostData* data)
using PlugInMainFunction = bool (*)(std::uint32_t hostVersion, std::uint32_t* version, HandshakeProcedure* handshake,
                                    const HostData* data);
inline constexpr const char* kPlugInMainSymbol = "PlugInMain";

}  // namespace tessera::host
