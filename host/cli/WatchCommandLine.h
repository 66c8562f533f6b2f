#pragma once
// `tessera watch`: the service that splits what lands in a folder.
#include <string>

#include "watch/WatchSetup.h"

namespace CLI {
class App;
}

namespace tessera::app {

struct WatchArguments {
    WatchSetup setup;
    bool status = false;
};

CLI::App* AddWatchCommand(CLI::App& app, WatchArguments& arguments);
// 0 when stopped by a signal (or, with --once, when every file was split),
// 1 when the folder cannot be watched, 2 for a usage error, 4 when --once
// saw some file fail.
int RunWatch(WatchArguments arguments, const std::string& module);

}  // namespace tessera::app
