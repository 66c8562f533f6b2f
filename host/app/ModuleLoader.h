#pragma once
// Loads the plug-in module and takes it through the handshake, setup and
// start-up callbacks; unloads it again.
#include <string>

#include "host/CoreServices.h"
#include "host/Handshake.h"

namespace tessera::app {

class ModuleLoader {
public:
    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // False with the reason when the module cannot be loaded or refuses the handshake.
    bool Load(const std::string& path, host::CoreServices& core, std::string& error,
              std::uint32_t hostVersion = host::kHandshakeVersion);
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }

    // The module beside the running program (or named by TESSERA_MODULE).
    static std::string DefaultPath();

private:
    bool Fail(std::string& error, const std::string& reason);

    void* handle_ = nullptr;
    host::SetupRecord setup_;
};

}  // namespace tessera::app
