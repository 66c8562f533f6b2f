#include "shell/Host.h"
#include "shell/host/HostError.h"

#include <cassert>

namespace tessera {
namespace {
host::HostServices g_host;
}

const host::HostServices& Host() {
    assert(g_host.documents && g_host.viewer && "host services used before import");
    return g_host;
}

void SetHost(const host::HostServices& services) { g_host = services; }

}  // namespace tessera

namespace tessera::host {
HostError::~HostError() = default;
}
