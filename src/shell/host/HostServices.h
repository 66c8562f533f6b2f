#pragma once
// What the plug-in took from the host's tables at the handshake: one pointer
// per interface. The plug-in calls nothing else of the host.
#include "shell/host/ServiceTables.h"

namespace tessera::host {

struct HostServices {
    DocumentServices* documents = nullptr;
    BookmarkServices* bookmarks = nullptr;
    ActionServices* actions = nullptr;
    WordFinderServices* words = nullptr;
    PageServices* pages = nullptr;
    PageContentServices* contents = nullptr;
    PageElementServices* elements = nullptr;
    ViewerServices* viewer = nullptr;
    RegistryServices* registry = nullptr;
    FileServices* files = nullptr;
    CabinetServices* cabinets = nullptr;
    WindowServices* windows = nullptr;
    CommandLineServices* commandLine = nullptr;
};

}  // namespace tessera::host
