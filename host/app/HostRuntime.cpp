#include "app/HostRuntime.h"

namespace tessera::app {

HostRuntime::HostRuntime(host::ViewerServices& viewer, host::WindowServices& windows,
                         host::CommandLineServices& commandLine, const std::string& settingsFolder,
                         host::WorkerServices* workers)
    : registry_(settingsFolder), batch_(store_, viewer) {
    support_ = {&files_, &registry_, &cabinets_, workers};
    cos_ = {&actionBuilder_};
    model_ = {&documents_, &bookmarks_, &actions_, &words_, &pages_, &links_, &bookmarkEdits_};
    editRead_ = {&contents_};
    editWrite_ = {&edits_};
    sysFont_ = {&edits_};
    content_ = {&contents_};
    view_ = {&viewer, &batch_};
    win_ = {&windows, &commandLine};
    const void* tables[host::kTableCount] = {&support_, &cos_,         &model_,      &editWrite_, &editRead_,
                                             &sysFont_, &content_,     &view_,       &structWrite_, &structRead_,
                                             &win_,     &extra_,       &sweetPea_,   &metadata_};
    for (int i = 0; i < host::kTableCount; ++i) core_.Offer(host::kTableNames[i], host::kTableVersion, tables[i]);
}

host::HostServices HostRuntime::Services() const {
    return host::ServicesFromTables(support_, cos_, model_, editWrite_, editRead_, sysFont_, content_, view_, win_);
}

}  // namespace tessera::app
