#pragma once
// The host's services over one document store, offered as named tables.
#include <string>

#include "app/CoreTables.h"
#include "app/PosixFileServices.h"
#include "batch/CommandRegistry.h"
#include "cabinet/JsonCabinetStreams.h"
#include "host/HostServices.h"
#include "pdf/DocumentStore.h"
#include "pdf/MupdfWordFinder.h"
#include "pdf/QpdfActionBuilder.h"
#include "pdf/QpdfActionServices.h"
#include "pdf/QpdfBookmarkEditServices.h"
#include "pdf/QpdfBookmarkServices.h"
#include "pdf/QpdfDocumentServices.h"
#include "pdf/QpdfLinkServices.h"
#include "pdf/QpdfPageContentServices.h"
#include "pdf/QpdfPageEditServices.h"
#include "pdf/QpdfPageServices.h"
#include "settings/SettingsFile.h"

namespace tessera::app {

class HostRuntime {
public:
    // settingsFolder holds one settings file per module. Without workers,
    // everything runs in this process.
    HostRuntime(host::ViewerServices& viewer, host::WindowServices& windows, host::CommandLineServices& commandLine,
                const std::string& settingsFolder, host::WorkerServices* workers = nullptr);
    HostRuntime(const HostRuntime&) = delete;
    HostRuntime& operator=(const HostRuntime&) = delete;

    pdf::DocumentStore& Store() { return store_; }
    CommandRegistry& Batch() { return batch_; }
    const pdf::QpdfPageServices& Pages() const { return pages_; }
    const pdf::QpdfPageEditServices& Edits() const { return edits_; }
    // Every table offered at the current version.
    CoreTables& Core() { return core_; }
    // The services, for a program that links the plug-in in.
    host::HostServices Services() const;

private:
    pdf::DocumentStore store_;
    pdf::QpdfDocumentServices documents_{store_};
    pdf::QpdfBookmarkServices bookmarks_{store_};
    pdf::QpdfActionServices actions_{store_};
    pdf::MupdfWordFinder words_{store_};
    pdf::QpdfPageServices pages_{store_};
    pdf::QpdfPageContentServices contents_{pages_};
    pdf::QpdfLinkServices links_{store_, pages_};
    pdf::QpdfBookmarkEditServices bookmarkEdits_{store_};
    pdf::QpdfActionBuilder actionBuilder_{store_};
    pdf::QpdfPageEditServices edits_{store_, contents_};
    settings::SettingsFile registry_;
    PosixFileServices files_{store_};
    cabinet::JsonCabinetStreams cabinets_;
    CommandRegistry batch_;
    host::ServiceTables tables_;  // offered at their addresses: a runtime is never moved
    CoreTables core_;
};

}  // namespace tessera::app
