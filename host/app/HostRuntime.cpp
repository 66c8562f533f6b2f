#include "app/HostRuntime.h"

#include "shell/Host.h"

namespace tessera::app {

HostRuntime::HostRuntime(host::ViewerServices& viewer, const std::string& settingsPath) : registry_(settingsPath) {
    services_.documents = &documents_;
    services_.bookmarks = &bookmarks_;
    services_.actions = &actions_;
    services_.viewer = &viewer;
    services_.registry = &registry_;
    services_.files = &files_;
}

void HostRuntime::Install() const { SetHost(services_); }

}  // namespace tessera::app
