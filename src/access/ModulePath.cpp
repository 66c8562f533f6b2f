#include "access/ModulePath.h"

#include <dlfcn.h>

#include <filesystem>

namespace tessera {

std::string ModulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&ModulePath), &info) || !info.dli_fname) return {};
    return info.dli_fname;
}

std::string ModuleFolder() {
    const std::string folder = std::filesystem::path(ModulePath()).remove_filename().string();
    return folder.empty() ? "./" : folder;
}

std::string ModuleBaseName() {
    const std::filesystem::path path = ModulePath();
    if (path.extension() == ".api") return path.stem().string();
    // Linked into a program (the tests) rather than loaded: the shipped name.
    return "Tessera";
}

std::string HelpFilePath() {
    std::filesystem::path path = ModulePath();
    if (path.extension() == ".api") return path.replace_extension(".htm").string();
    return ModuleFolder() + "Tessera.htm";
}

}  // namespace tessera
