#pragma once
// The host's services over one document store, offered as named tables.
#include <string>

#include "batch/CommandRegistry.h"
#include "cabinet/JsonCabinetStreams.h"
#include "host/HostServices.h"
#include "pdf/services/MupdfPixelReader.h"
#include "pdf/services/MupdfWordFinder.h"
#include "pdf/services/QpdfActionBuilder.h"
#include "pdf/services/QpdfActionServices.h"
#include "pdf/services/QpdfBookmarkEditServices.h"
#include "pdf/services/QpdfBookmarkServices.h"
#include "pdf/services/QpdfDocumentServices.h"
#include "pdf/services/QpdfLinkServices.h"
#include "pdf/services/QpdfPageContentServices.h"
#include "pdf/services/QpdfPageEditServices.h"
#include "pdf/services/QpdfPageServices.h"
#include "pdf/store/DocumentStore.h"
#include "runtime/CoreTables.h"
#include "runtime/OcrModule.h"
#include "runtime/PosixFileServices.h"
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
    OcrModule ocr_;
    pdf::MupdfPixelReader pixels_{store_, ocr_};
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
