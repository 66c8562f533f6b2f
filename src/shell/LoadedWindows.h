#pragma once
// The toolkit's windows, loaded from the windows module beside this one the
// first time a window is shown: a run that shows none, as every split from
// the command line, never maps Qt and the libraries it brings (10 MB and
// more of every process's memory).
#include <memory>
#include <string>

#include "ui/WindowFactory.h"

namespace tessera {

inline constexpr const char* kWindowsModule = "TesseraWindows.so";

class LoadedWindows : public WindowFactory {
public:
    LoadedWindows() = default;
    ~LoadedWindows() override;
    LoadedWindows(const LoadedWindows&) = delete;
    LoadedWindows& operator=(const LoadedWindows&) = delete;

    // Loads the module once; a module that cannot be loaded is reported once,
    // and then no window is shown.
    bool Ready() override;
    bool RunModal(Dialog& dialog) override;
    bool SaveImage(Dialog& dialog, const std::string& path) override;

private:
    void* handle_ = nullptr;
    std::unique_ptr<WindowFactory> windows_;
    bool failed_ = false;
};

}  // namespace tessera
