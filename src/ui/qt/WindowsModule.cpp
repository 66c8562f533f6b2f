// The windows module's one export: built only into TesseraWindows.so, which
// the shell opens the first time a window is shown (shell/LoadedWindows).
#include "ui/qt/QtWindowFactory.h"
#include "ui/qt/ViewServices.h"

extern "C" __attribute__((visibility("default"))) tessera::WindowFactory* TesseraOpenWindows(
    const tessera::ViewServices* services) {
    tessera::TheViewServices() = *services;
    return new tessera::QtWindowFactory();
}
