#include "runtime/ModuleLoader.h"

#include <dlfcn.h>

#include "runtime/ModuleFile.h"

#include <cstdlib>
#include <filesystem>

namespace tessera::app {

ModuleLoader::~ModuleLoader() { Unload(); }

std::string ModuleLoader::DefaultPath() {
    if (const char* named = std::getenv("TESSERA_MODULE"); named && *named) return named;
    return ProgramFile("Tessera.api");
}

std::string ModuleLoader::ProgramFile(const std::string& name) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : exe.parent_path();
    // Installed, bin/tessera finds lib/tessera/ wherever the tree was put.
    if (std::filesystem::exists(folder / name, ec)) return (folder / name).string();
    return (folder / "../lib/tessera" / name).lexically_normal().string();
}

std::string ModuleLoader::Fail(std::string reason) {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
    return reason;
}

std::optional<std::string> ModuleLoader::Load(const std::string& path, host::CoreServices& core,
                                              std::uint32_t hostVersion) {
    Unload();
    if (const std::optional<std::string> fault = ModuleFileFault(path)) return Fail(*fault);
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) return Fail(dlerror());
    auto entry = reinterpret_cast<host::PlugInMainFunction>(dlsym(handle_, host::kPlugInMainSymbol));
    if (!entry) return Fail("it has no entry PlugInMain");
    std::uint32_t version = 0;
    host::HandshakeProcedure handshake = nullptr;
    const host::HostData data{};
    if (!entry(hostVersion, &version, &handshake, &data) || !handshake) return Fail("its entry refused to start");
    host::HandshakeRecord record;
    record.extension = reinterpret_cast<host::ExtensionId>(handle_);
    record.core = &core;
    if (!handshake(version, &record) || !record.setup)
        return Fail("the handshake failed (the host lacks a service table the module needs)");
    setup_ = {};
    if (!record.setup(version, &setup_)) return Fail("its setup failed");
    for (host::Callback step : {setup_.exportTables, setup_.importAndRegister, setup_.init})
        if (step && !step()) return Fail("it failed to start");
    return std::nullopt;
}

void ModuleLoader::Unload() {
    if (!handle_) return;
    if (setup_.unload) setup_.unload();
    setup_ = {};
    dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace tessera::app
