#include "shell/GuardedCommand.h"

#include "access/AlertByKey.h"
#include "access/Guarded.h"
#include "access/Host.h"

namespace tessera {

void RunGuardedCommand(void (*steps)(), const char* followUpKey) {
    if (Guarded(steps)) return;
    if (followUpKey) AlertByKey(followUpKey);
    Host().commandLine->ReportOutcome(host::RunOutcome::Failed);
}

}  // namespace tessera
