#include "desktop/DesktopModule.h"

#include <dlfcn.h>

#include <iostream>

#include "runtime/ModuleFile.h"
#include "runtime/ModuleLoader.h"

namespace tessera::app {

std::unique_ptr<Desktop> StartDesktopModule(int& argc, char** argv, bool offscreen) {
    using Start = Desktop* (*)(int&, char**, bool);
    const std::string path = ModuleLoader::ProgramFile(kDesktopModule);
    if (const std::optional<std::string> fault = ModuleFileFault(path)) {
        std::cerr << "tessera: the windows cannot be shown: " << path << ": " << *fault << std::endl;
        return nullptr;
    }
    // Never closed: the desktop's objects live until the program ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto start = module ? reinterpret_cast<Start>(dlsym(module, "TesseraStartDesktop")) : nullptr;
    if (!start) {
        const char* reason = dlerror();
        std::cerr << "tessera: the windows cannot be shown: " << (reason ? reason : path + " has no entry")
                  << std::endl;
        return nullptr;
    }
    return std::unique_ptr<Desktop>(start(argc, argv, offscreen));
}

}  // namespace tessera::app
