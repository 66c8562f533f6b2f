#include "shell/PlugInSession.h"

namespace tessera {

PlugInSession& Session() {
    static PlugInSession session;
    return session;
}

}  // namespace tessera
