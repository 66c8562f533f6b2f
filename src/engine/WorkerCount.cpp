#include "engine/WorkerCount.h"

#include "access/Host.h"

namespace tessera {

unsigned WorkerCount(const SplitSettings& settings) {
    host::WorkerServices* workers = Host().workers;
    if (!workers) return 1;
    return settings.Output.Jobs > 0 ? static_cast<unsigned>(settings.Output.Jobs) : workers->Cores();
}

}  // namespace tessera
