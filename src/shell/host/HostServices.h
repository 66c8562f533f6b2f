#pragma once
// All the host offers the plug-in: one pointer per service table. The plug-in
// calls nothing else of the host.
#include "shell/host/BookmarkServices.h"
#include "shell/host/DocumentServices.h"
#include "shell/host/FileServices.h"
#include "shell/host/RegistryServices.h"
#include "shell/host/ViewerServices.h"

namespace tessera::host {

struct HostServices {
    DocumentServices* documents = nullptr;
    BookmarkServices* bookmarks = nullptr;
    ActionServices* actions = nullptr;
    ViewerServices* viewer = nullptr;
    RegistryServices* registry = nullptr;
    FileServices* files = nullptr;
};

}  // namespace tessera::host
