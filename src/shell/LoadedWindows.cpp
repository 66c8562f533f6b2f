#include "shell/LoadedWindows.h"

#include <dlfcn.h>

#include "access/Host.h"
#include "access/ModulePath.h"

namespace tessera {

LoadedWindows::~LoadedWindows() {
    windows_.reset();
    if (handle_) dlclose(handle_);
}

bool LoadedWindows::Ready() {
    if (windows_ || failed_) return !failed_;
    const std::string path = ModuleFolder() + kWindowsModule;
    const std::optional<std::string> fault = Host().files->ModuleFault(path);
    // Kept to the end: Qt may hold on to the windows' code (types it
    // registered, events still queued) for as long as the application lives.
    handle_ = fault ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    using OpenWindows = WindowFactory* (*)(const ViewServices*);
    const auto open = handle_ ? reinterpret_cast<OpenWindows>(dlsym(handle_, "TesseraOpenWindows")) : nullptr;
    if (!open) {
        const char* reason = fault ? nullptr : dlerror();
        failed_ = true;
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
        Host().windows->MessageBox("The windows cannot be shown: " +
                                   (fault    ? path + ": " + *fault
                                    : reason ? reason
                                             : path + " has no entry") +
                                   ". Please install correct version of the software.");
        return false;
    }
    const ViewServices services = PlugInViewServices();
    windows_.reset(open(&services));
    return true;
}

bool LoadedWindows::RunModal(Dialog& dialog) { return Ready() && windows_->RunModal(dialog); }

bool LoadedWindows::SaveImage(Dialog& dialog, const std::string& path) {
    return Ready() && windows_->SaveImage(dialog, path);
}

}  // namespace tessera
