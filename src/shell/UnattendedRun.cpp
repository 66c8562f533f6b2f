#include "shell/UnattendedRun.h"

#include <cstdlib>

#include "access/CabinetFile.h"
#include "access/Host.h"

namespace tessera {

void UnattendedSequenceRun(void* /*clientData*/) {
    const char* path = std::getenv("TESSERA");
    if (path == nullptr || *path == '\0' || !Host().batch) return;
    const Result<host::Cabinet> sequence = ReadCabinetFile(path);
    if (!sequence) return Host().viewer->Alert(sequence.Reason());
    Host().batch->RunSequence(*sequence);
    Host().batch->CloseHost();
}

}  // namespace tessera
