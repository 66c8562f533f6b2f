#include "watch/SettleTracker.h"

#include <sys/stat.h>

#include <algorithm>

namespace tessera::app {
namespace {

// A writer whose close the kernel never reported (a lost event, a writer
// killed on another host's mount) stops holding the file back after this.
constexpr auto kLongestSilentWriter = std::chrono::seconds(60);

}  // namespace

bool LookAt(const std::string& path, FileLook& look) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    look = {static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec, info.st_dev,
            info.st_ino};
    return true;
}

bool SettleTracker::Look(const std::string& path, WatchClock::time_point now) {
    FileLook look;
    if (!LookAt(path, look)) {
        files_.erase(path);
        return false;
    }
    const auto [place, added] = files_.try_emplace(path, Seen{look, now, false});
    if (!added && !(place->second.look == look)) {
        place->second.look = look;
        place->second.changed = now;
    }
    return true;
}

void SettleTracker::Wrote(const std::string& path, WatchClock::time_point now) {
    if (!Look(path, now)) return;
    Seen& seen = files_[path];
    seen.writerOpen = true;
    seen.changed = now;
}

void SettleTracker::Closed(const std::string& path, WatchClock::time_point now) {
    if (!Look(path, now)) return;
    Seen& seen = files_[path];
    seen.writerOpen = false;
    seen.changed = now;
}

bool SettleTracker::Whole(const Seen& seen, WatchClock::time_point now) const {
    const auto quiet = now - seen.changed;
    return quiet >= settle_ &&
           (!seen.writerOpen || quiet >= std::max(settle_, WatchClock::duration(kLongestSilentWriter)));
}

std::vector<std::string> SettleTracker::Ready(WatchClock::time_point now) const {
    std::vector<std::string> ready;
    for (const auto& [path, seen] : files_)
        if (Whole(seen, now)) ready.push_back(path);
    return ready;
}

std::vector<std::string> SettleTracker::Settling() const {
    std::vector<std::string> paths;
    for (const auto& [path, seen] : files_) paths.push_back(path);
    return paths;
}

WatchClock::duration SettleTracker::UntilNextReady(WatchClock::time_point now) const {
    WatchClock::duration soonest = WatchClock::duration::max();
    for (const auto& [path, seen] : files_) {
        const auto wait = seen.changed + settle_ - now;
        soonest = std::min(soonest, std::max(wait, WatchClock::duration::zero()));
    }
    return soonest;
}

}  // namespace tessera::app
