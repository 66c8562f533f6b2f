#pragma once
// The host's service tables over one document store, ready to hand to the plug-in.
#include <string>

#include "app/PosixFileServices.h"
#include "pdf/DocumentStore.h"
#include "pdf/QpdfActionServices.h"
#include "pdf/QpdfBookmarkServices.h"
#include "pdf/QpdfDocumentServices.h"
#include "settings/SettingsFile.h"
#include "shell/host/HostServices.h"

namespace tessera::app {

class HostRuntime {
public:
    HostRuntime(host::ViewerServices& viewer, const std::string& settingsPath);
    HostRuntime(const HostRuntime&) = delete;
    HostRuntime& operator=(const HostRuntime&) = delete;

    pdf::DocumentStore& Store() { return store_; }
    const host::HostServices& Services() const { return services_; }
    // Makes these the tables the plug-in calls.
    void Install() const;

private:
    pdf::DocumentStore store_;
    pdf::QpdfDocumentServices documents_{store_};
    pdf::QpdfBookmarkServices bookmarks_{store_};
    pdf::QpdfActionServices actions_{store_};
    settings::SettingsFile registry_;
    PosixFileServices files_;
    host::HostServices services_;
};

}  // namespace tessera::app
