#include "runtime/OcrModule.h"

#include <dlfcn.h>

#include <cstdlib>

#include "host/HostError.h"
#include "runtime/ModuleFile.h"
#include "runtime/ModuleLoader.h"

namespace tessera::app {

pdf::OcrLibrary& OcrModule::Loaded() {
    if (library_) return *library_;
    const std::string path = ModuleLoader::ProgramFile(kOcrModule);
    const auto fail = [&path](const std::string& reason) {
        return host::HostError(host::kErrorGeneral, "text recognition cannot be loaded: " + path + ": " + reason);
    };
    if (const std::optional<std::string> fault = ModuleFileFault(path)) throw fail(*fault);
    ::setenv("OMP_THREAD_LIMIT", "1", 0);
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = pdf::OcrLibrary* (*)();
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): dlsym gives functions as void*
    const auto entry = module ? reinterpret_cast<Entry>(::dlsym(module, "TesseraOcrLibrary")) : nullptr;
    if (!entry) {
        const char* reason = ::dlerror();
        throw fail(reason ? reason : "no entry");
    }
    return *(library_ = entry());
}

std::unique_ptr<pdf::OcrEngine> OcrModule::Start(const std::string& languages) { return Loaded().Start(languages); }

const std::vector<std::string>& OcrModule::InstalledLanguages() { return Loaded().InstalledLanguages(); }

}  // namespace tessera::app
