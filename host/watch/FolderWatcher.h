#pragma once
// `tessera watch`: splits every PDF that lands in a folder, once, each by a
// child `tessera split`, until stopped (or, with --once, until what was there
// is done). One JSON line per event.
#include <list>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "batch/CompletionRecord.h"
#include "watch/InputClaim.h"
#include "watch/SettleTracker.h"
#include "watch/SplitChild.h"
#include "watch/WatchSetup.h"

namespace tessera::app {

class FolderWatcher {
public:
    FolderWatcher(WatchSetup setup, std::ostream& events);
    // Runs until a signal (SIGTERM, SIGINT, SIGHUP) or, with --once, until
    // every file there at the start is handled. The exit status: 0, or 4
    // when --once saw some file fail; 1 when the folder cannot be watched.
    int Run(int signalPipe);
    // Every PDF of the folder with what became of it: waiting, running
    // (and who has it), failed, done. 0.
    int PrintStatus(std::ostream& out);

private:
    struct Running {
        std::string path, key;  // key: its place in the watched folder
        FileLook look;
        InputStamp before;
        CompletionRecord record;
        std::string outputFolder;
        InputClaim claim;
        SplitChild child;
        bool abandoned = false;  // its input changed: ended early
    };
    // What a file gets split with and where it goes.
    struct FileSetup {
        std::string profile, outputFolder, settings;
    };

    std::vector<std::string> Candidates();
    void Scan(WatchClock::time_point now, bool addNew);
    bool Consider(const std::string& path, const FileLook& look);
    void TakeEvents(WatchClock::time_point now);
    void WatchFolder(const std::string& folder);
    void StartReady(WatchClock::time_point now);
    void Start(const std::string& path);
    void Reap();
    void Finish(Running& run);
    void Succeeded(Running& run, const nlohmann::json& staged, int exitStatus);
    void Failed(const std::string& path, const FileLook& look, const std::string& reason, int exitStatus);
    void Handled(const std::string& path, const FileLook& look);
    void MoveDone(const std::string& path, nlohmann::json& event);
    std::string MirrorFolder(const std::string& path, const std::string& root) const;
    // A file's key (its place in the watched folder), which names its claim and staging folder.
    std::string KeyOf(const std::string& path) const;
    std::string ClaimsFolder() const;
    // Moves the input into `folder` (its subfolder there), saying in `event` where
    // it went or why it stayed; the path it has now.
    std::string MoveAside(const std::string& path, const std::string& folder, nlohmann::json& event) const;
    std::optional<FileSetup> SetupOf(const std::string& path, std::string& failure) const;
    void Say(nlohmann::json event);

    WatchSetup setup_;
    std::ostream& events_;
    SettleTracker tracker_;
    std::map<std::string, FileLook> handled_;  // split, failed or done before, as they were then
    std::list<Running> running_;
    std::set<std::string> toldClaimed_;
    std::set<std::string> excluded_;  // folders inside the watched one that are not input
    std::map<int, std::string> watched_;
    int inotify_ = -1;
    bool stopping_ = false;
    int failures_ = 0;
    unsigned splitJobs_ = 1;
};

}  // namespace tessera::app
