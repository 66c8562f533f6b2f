#pragma once
// Everything the plug-in keeps while the host runs it, in one object the
// shell owns: the values of the handshake, the toolkit's windows, the batch
// command's state, and what the dialogs remember between two openings.
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/WrittenFiles.h"
#include "host/Cabinet.h"
#include "host/CoreServices.h"
#include "host/Handshake.h"
#include "ui/DialogMemory.h"
#include "ui/WindowFactory.h"

namespace tessera {

struct PlugInSession {
    host::HostData hostData;
    host::ExtensionId extension = 0;
    host::CoreServices* core = nullptr;
    std::uint32_t coreVersion = 0;
    // Null where no window can be shown, and every dialog then ends as Cancel.
    std::unique_ptr<WindowFactory> windows;
    DialogMemory dialogs;
    struct Batch {
        std::optional<host::Cabinet> defaults;  // the command's default parameters, made by its initialise callback
        WrittenFiles writtenFiles;              // by every split of this process's batch runs
    } batch;
};

// The module's session. The host's callbacks (menu items, batch handlers,
// notifications) carry no data of the plug-in's to find it by, so it is the
// one object of the module that lives beside the imported host tables.
PlugInSession& Session();

}  // namespace tessera
