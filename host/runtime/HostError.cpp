// The host owns the error type that crosses into the plug-in: its one key
// function lives here, so the program exports the single type_info that the
// loaded module's handlers match against.
#include "host/HostError.h"

namespace tessera::host {
HostError::~HostError() = default;
}
