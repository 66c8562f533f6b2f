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
    path = path.extension() == ".api" ? path.replace_extension(".htm")
                                      : std::filesystem::path(ModuleFolder() + "Tessera.htm");
    // Installed, the help goes with the other documents: lib/tessera/../../share/doc/tessera.
    std::error_code error;
    const std::filesystem::path installed =
        (path.parent_path() / "../../share/doc/tessera" / path.filename()).lexically_normal();
    return !std::filesystem::exists(path, error) && std::filesystem::exists(installed, error) ? installed.string()
                                                                                              : path.string();
}

}  // namespace tessera
