#pragma once
// What `tessera watch` was asked to do.
#include <string>

namespace tessera::app {

struct WatchSetup {
    std::string folder;        // watched, absolute
    std::string profile;       // the settings of files without a .tessera.tpr of their own folder
    std::string outputFolder;  // outputs of IN/sub/x.pdf go to OUT/sub/
    std::string doneFolder;    // empty: split inputs stay, remembered by their completion records
    std::string failedFolder;  // empty: failed inputs stay, beside their NAME.error.json
    std::string logFile;       // empty: events on stdout
    std::string program;       // the tessera that splits each file
    std::string module;        // --module given to the watcher, passed on
    bool recursive = false;
    bool once = false;
    double settleSeconds = 5;
    double pollSeconds = 10;
    unsigned jobs = 1;
};

// The profile a folder's own setup file gives its files.
inline constexpr const char* kFolderProfileName = ".tessera.tpr";
// The watched folder's state (claims), beside the inputs so that every
// watcher of the folder sees it.
inline constexpr const char* kWatchStateFolder = ".tessera-watch";

}  // namespace tessera::app
