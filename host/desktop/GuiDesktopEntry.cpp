// The desktop module's one export: built only into TesseraDesktop.so, which
// the program loads when a run first needs windows (app/DesktopModule).
#include "desktop/GuiWindows.h"

extern "C" __attribute__((visibility("default"))) tessera::app::Desktop* TesseraStartDesktop(int& argc, char** argv,
                                                                                             bool offscreen) {
    return tessera::app::StartDesktop(argc, argv, offscreen).release();
}
