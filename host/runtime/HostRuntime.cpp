#include "runtime/HostRuntime.h"

namespace tessera::app {

HostRuntime::HostRuntime(host::ViewerServices& viewer, host::WindowServices& windows,
                         host::CommandLineServices& commandLine, const std::string& settingsFolder,
                         host::WorkerServices* workers)
    : registry_(settingsFolder), batch_(store_, viewer) {
    tables_.AcroSupport = {&files_, &registry_, &cabinets_, workers};
    tables_.Cos = {&actionBuilder_};
    tables_.PDModel = {&documents_, &bookmarks_, &actions_, &words_, &pages_, &links_, &bookmarkEdits_, &pixels_};
    tables_.PDFEditRead = {&contents_};
    tables_.PDFEditWrite = {&edits_};
    tables_.PDSysFont = {&edits_};
    tables_.PagePDEContent = {&contents_};
    tables_.AcroView = {&viewer, &batch_};
    tables_.Win = {&windows, &commandLine};
    host::ForEachTable(
        tables_, [this](const char* name, const auto& table, bool) { core_.Offer(name, host::kTableVersion, &table); });
}

host::HostServices HostRuntime::Services() const { return host::ServicesFromTables(tables_); }

}  // namespace tessera::app
