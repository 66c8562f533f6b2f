#include "access/ModulePath.h"

#include <dlfcn.h>

namespace tessera {

std::string ModulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&ModulePath), &info) || !info.dli_fname) return {};
    return info.dli_fname;
}

std::string ModuleFolder() {
    const std::string path = ModulePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string ModuleBaseName() {
    const std::string path = ModulePath();
    std::string name = path.substr(path.rfind('/') + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".api") == 0) return name.substr(0, name.size() - 4);
    // Linked into a program (the tests) rather than loaded: the shipped name.
    return "Tessera";
}

std::string HelpFilePath() {
    std::string path = ModulePath();
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".api") == 0) return path.replace(path.size() - 4, 4, ".htm");
    return ModuleFolder() + "Tessera.htm";
}

}  // namespace tessera
