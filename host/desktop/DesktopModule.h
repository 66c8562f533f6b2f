#pragma once
// The desktop's windows are a module of their own (TesseraDesktop.so, from
// app/Gui*), loaded when a run first needs them: a run without windows never
// maps Qt and the libraries it brings.
#include <memory>

#include "desktop/Desktop.h"

namespace tessera::app {

inline constexpr const char* kDesktopModule = "TesseraDesktop.so";

// The program's DesktopStarter: the module's, or null with a message on
// stderr when it cannot be loaded.
std::unique_ptr<Desktop> StartDesktopModule(int& argc, char** argv, bool offscreen);

}  // namespace tessera::app
