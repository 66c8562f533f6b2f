#include "watch/FolderWatcher.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

#include "report/RunJson.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

bool IsPdfName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.size() < 5) return false;  // hidden: a copy tool's file in the making
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".pdf";
}

constexpr std::uint32_t kFolderEvents =
    IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ATTRIB;

// To the millisecond: how soon a file is taken after its last write is read off the log.
std::string UtcTimestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis));
    return text;
}

// While files settle or splits run, the watcher looks this often.
constexpr auto kBusyTick = std::chrono::milliseconds(100);

}  // namespace

FolderWatcher::FolderWatcher(WatchSetup setup, std::ostream& events)
    : setup_(std::move(setup)),
      events_(events),
      tracker_(std::chrono::duration_cast<WatchClock::duration>(std::chrono::duration<double>(setup_.settleSeconds))) {
    for (const std::string& folder : {setup_.outputFolder, setup_.doneFolder, setup_.failedFolder})
        if (!folder.empty()) excluded_.insert(fs::weakly_canonical(folder).string());
    // Each split's own workers share the machine's cores with the others'.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    splitJobs_ = std::max(1u, cores / std::max(1u, setup_.jobs));
}

void FolderWatcher::Say(nlohmann::json event) {
    event["time"] = UtcTimestamp();
    if (event.contains("file")) AddExactBytes(event, "file");
    events_ << JsonLine(event) << std::endl;
}

// The PDF files of the folder (and its subfolders, with --recursive), in name order.
std::vector<std::string> FolderWatcher::Candidates() {
    std::vector<std::string> files;
    std::error_code error;
    std::vector<fs::path> folders{setup_.folder};
    while (!folders.empty()) {
        const fs::path folder = folders.back();
        folders.pop_back();
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            std::error_code kind;
            if (it->is_directory(kind)) {
                if (setup_.recursive && name[0] != '.' && !excluded_.count(fs::weakly_canonical(it->path()).string())) {
                    folders.push_back(it->path());
                    if (inotify_ >= 0) WatchFolder(it->path().string());
                }
            } else if (IsPdfName(name)) {
                files.push_back(it->path().string());
            }
        }
        error.clear();
    }
    std::sort(files.begin(), files.end());
    return files;
}

void FolderWatcher::WatchFolder(const std::string& folder) {
    const int wd = ::inotify_add_watch(inotify_, folder.c_str(), kFolderEvents);
    if (wd >= 0) watched_[wd] = folder;
}

// Whether the file is one to settle and split: not running, and not handled as it is now.
bool FolderWatcher::Consider(const std::string& path, const FileLook& look) {
    if (std::any_of(running_.begin(), running_.end(), [&](const Running& r) { return r.path == path; })) return false;
    const auto handled = handled_.find(path);
    if (handled != handled_.end() && handled->second == look) return false;
    if (handled != handled_.end()) handled_.erase(handled);
    return true;
}

void FolderWatcher::Scan(WatchClock::time_point now, bool addNew) {
    for (const std::string& path : tracker_.Settling())
        if (!tracker_.Look(path, now)) tracker_.Forget(path);
    if (!addNew) return;
    const std::vector<std::string> candidates = Candidates();
    // Files moved away or removed are forgotten: a service that runs for months keeps no list of them.
    std::erase_if(handled_, [&](const auto& entry) {
        return !std::binary_search(candidates.begin(), candidates.end(), entry.first);
    });
    for (const std::string& path : candidates) {
        FileLook look;
        if (!tracker_.Knows(path) && LookAt(path, look) && Consider(path, look)) tracker_.Look(path, now);
    }
}

void FolderWatcher::TakeEvents(WatchClock::time_point now) {
    alignas(inotify_event) char buffer[16384];
    for (ssize_t got; (got = ::read(inotify_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            at += sizeof(inotify_event) + event->len;
            const auto folder = watched_.find(event->wd);
            if (event->len == 0 || folder == watched_.end() || !IsPdfName(event->name)) continue;
            const std::string path = folder->second + "/" + event->name;
            FileLook look;
            if (!LookAt(path, look) || !Consider(path, look)) continue;
            if (event->mask & IN_MODIFY) tracker_.Wrote(path, now);
            if (event->mask & IN_CLOSE_WRITE) tracker_.Closed(path, now);
        }
    }
}

void FolderWatcher::Reap() {
    for (Running& run : running_) {
        // A split of bytes that are no longer there is of no use: ended now, said when it ends.
        FileLook look;
        if (!run.abandoned && !(LookAt(run.path, look) && look == run.look)) {
            run.abandoned = true;
            run.child.Terminate();
        }
    }
    for (auto it = running_.begin(); it != running_.end();) {
        if (!it->child.Ended()) {
            ++it;
            continue;
        }
        Finish(*it);
        it = running_.erase(it);
    }
}

int FolderWatcher::Run(int signalPipe) {
    std::error_code error;
    if (!fs::is_directory(setup_.folder, error)) {
        Say({{"event", "stopped"}, {"reason", "cannot watch " + setup_.folder + ": it is not a folder"}});
        return 1;
    }
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ >= 0) WatchFolder(setup_.folder);
    Say({{"event", "started"},
         {"folder", setup_.folder},
         {"output_folder", setup_.outputFolder},
         {"pid", ::getpid()},
         {"notified", inotify_ >= 0}});
    const auto poll =
        std::chrono::duration_cast<WatchClock::duration>(std::chrono::duration<double>(setup_.pollSeconds));
    auto lastScan = WatchClock::now(), lastRenewal = lastScan;
    Scan(lastScan, true);
    int stopSignal = 0;
    for (;;) {
        const auto now = WatchClock::now();
        const bool rescan = !setup_.once && now - lastScan >= poll;
        Scan(now, rescan);
        if (rescan) lastScan = now;
        Reap();
        if (!stopping_) StartReady(now);
        if (now - lastRenewal >= kClaimRenewal) {
            for (const Running& run : running_) run.claim.Renew();
            lastRenewal = now;
        }
        if (running_.empty() && (stopping_ || (setup_.once && tracker_.Settling().empty()))) break;
        const bool busy = !running_.empty() || !tracker_.Settling().empty();
        // A split's end wakes the wait (SIGCHLD); a file becoming whole does not, so it is looked at in
        // ticks, or sooner when it is due and a place is free.
        const bool placeFree = running_.size() < setup_.jobs && !stopping_;
        const auto wait = !busy       ? poll - (now - lastScan)
                          : placeFree ? std::min<WatchClock::duration>(kBusyTick, tracker_.UntilNextReady(now))
                                      : WatchClock::duration(kBusyTick);
        pollfd fds[2] = {{signalPipe, POLLIN, 0}, {inotify_, POLLIN, 0}};
        const int timeout = static_cast<int>(
            std::max<long long>(1, std::chrono::duration_cast<std::chrono::milliseconds>(wait).count()));
        if (::poll(fds, inotify_ >= 0 ? 2 : 1, timeout) <= 0) continue;
        unsigned char signals[64];
        const ssize_t got = (fds[0].revents & POLLIN) ? ::read(signalPipe, signals, sizeof signals) : 0;
        for (ssize_t i = 0; i < got; ++i) {
            if (signals[i] == 0 || stopping_) continue;  // 0: a split ended, reaped above at once
            stopping_ = true;
            stopSignal = signals[i];
            for (const Running& run : running_) run.child.Terminate();
        }
        if (inotify_ >= 0 && (fds[1].revents & POLLIN)) {
            TakeEvents(WatchClock::now());
            Scan(WatchClock::now(), !setup_.once);
        }
    }
    if (inotify_ >= 0) ::close(inotify_);
    Say({{"event", "stopped"},
         {"reason", stopSignal ? "signal " + std::to_string(stopSignal) : "done"},
         {"failed", failures_}});
    return setup_.once && failures_ > 0 ? 4 : 0;
}

}  // namespace tessera::app
