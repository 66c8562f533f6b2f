#pragma once
// Loads the plug-in module and takes it through the handshake, setup and
// start-up callbacks; unloads it again.
#include <optional>
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

    // Why the module cannot be loaded or refuses the handshake; none when it is loaded.
    std::optional<std::string> Load(const std::string& path, host::CoreServices& core,
                                    std::uint32_t hostVersion = host::kHandshakeVersion);
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }

    // The module beside the running program (or named by TESSERA_MODULE).
    static std::string DefaultPath();
    // A file of the program's own: beside it in the build, in lib/tessera/ of
    // the installed tree.
    static std::string ProgramFile(const std::string& name);

private:
    std::string Fail(std::string reason);

    void* handle_ = nullptr;
    host::SetupRecord setup_;
};

}  // namespace tessera::app
