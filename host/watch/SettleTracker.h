#pragma once
// When a file dropped into a watched folder is whole: no writer the kernel
// tells us of has it open, and its size, time and identity have not changed
// for the settle time. Network shares tell nothing of writers on other hosts,
// so the settle time is what guards them.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessera::app {

using WatchClock = std::chrono::steady_clock;

// What a file is on disk; two looks at a file that is being written differ.
struct FileLook {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileLook&) const = default;
};
// None when the path is not a regular file (or is gone).
bool LookAt(const std::string& path, FileLook& look);

class SettleTracker {
public:
    explicit SettleTracker(WatchClock::duration settle) : settle_(settle) {}
    // A look at the file now; a changed (or new) file starts settling again.
    // False when it is no longer a regular file, which forgets it.
    bool Look(const std::string& path, WatchClock::time_point now);
    // The kernel said a writer wrote to it, or closed it after writing.
    void Wrote(const std::string& path, WatchClock::time_point now);
    void Closed(const std::string& path, WatchClock::time_point now);
    void Forget(const std::string& path) { files_.erase(path); }
    bool Knows(const std::string& path) const { return files_.count(path) != 0; }
    // The files whole now, in name order.
    std::vector<std::string> Ready(WatchClock::time_point now) const;
    std::vector<std::string> Settling() const;
    // How long until the first settling file could be whole; zero when one
    // is, and the longest duration when none is settling.
    WatchClock::duration UntilNextReady(WatchClock::time_point now) const;

private:
    struct Seen {
        FileLook look;
        WatchClock::time_point changed;
        bool writerOpen = false;
    };
    bool Whole(const Seen& seen, WatchClock::time_point now) const;

    WatchClock::duration settle_;
    std::map<std::string, Seen> files_;
};

}  // namespace tessera::app
