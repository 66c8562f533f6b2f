#include <malloc.h>

#include "cli/CommandLine.h"
#include "desktop/DesktopModule.h"
#include "os/InterruptCleanup.h"

int main(int argc, char** argv) {
    // qpdf makes and frees millions of small objects per output; with glibc's
    // fast bins, every larger allocation first sweeps them back together
    // (malloc_consolidate), which took a tenth of a split's time.
    mallopt(M_MXFAST, 0);
    const int status = tessera::app::RunCommandLine(argc, argv, &tessera::app::StartDesktopModule);
    tessera::app::HoldInterruptsForExit();
    return status;
}
