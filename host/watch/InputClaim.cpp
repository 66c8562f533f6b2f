#include "watch/InputClaim.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "os/FileDigest.h"

namespace tessera::app {
namespace {

std::string FirstLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

// When the process started, in clock ticks since boot: with the pid, a
// process the pid was given to after ours ended is not taken for ours.
std::string StartOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return "";
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    return field;
}

// "host boot pid start", what a claim holds.
std::string Holder(pid_t pid) {
    return HostName() + " " + FirstLineOf("/proc/sys/kernel/random/boot_id") + " " + std::to_string(pid) + " " +
           StartOf(pid);
}

bool HolderIsLive(const std::string& holder, const std::string& path) {
    std::istringstream in(holder);
    std::string host, boot, start;
    pid_t pid = 0;
    struct stat info {};
    const bool there = ::stat(path.c_str(), &info) == 0;
    const auto age = std::chrono::system_clock::now() - std::chrono::system_clock::from_time_t(info.st_mtime);
    // An empty claim is one being made now, or one whose maker died making it.
    if (!(in >> host >> boot >> pid >> start)) return there && age < std::chrono::seconds(10);
    std::istringstream ours(Holder(::getpid()));
    std::string ourHost, ourBoot;
    ours >> ourHost >> ourBoot;
    if (host == ourHost && boot == ourBoot) return ::kill(pid, 0) == 0 && StartOf(pid) == start;
    if (host == ourHost) return false;  // the host started again since
    return there && age < kStaleClaimAge;
}

// Written whole under a name of its own, then linked into place: link, like
// an exclusive create, fails when the claim is there, and a kill never leaves
// an empty claim that would look like one being made.
bool CreateClaim(const std::string& path) {
    const std::string mine = path + ".new-" + std::to_string(::getpid());
    const int fd = ::open(mine.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const std::string text = Holder(::getpid()) + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    const bool linked = written && ::link(mine.c_str(), path.c_str()) == 0;
    const int error = errno;
    ::unlink(mine.c_str());
    errno = written ? error : EIO;
    return linked;
}

// Takes a stale claim out of the way. Two watchers may find one claim stale
// at once: the one whose rename moves a fresh claim (made meanwhile by the
// other) puts it back and gives way.
bool RemoveStale(const std::string& path, const std::string& judged) {
    const std::string aside = path + ".stale-" + std::to_string(::getpid());
    if (::rename(path.c_str(), aside.c_str()) != 0) return errno == ENOENT;
    if (FirstLineOf(aside) != judged) {
        ::link(aside.c_str(), path.c_str());
        ::unlink(aside.c_str());
        return false;
    }
    ::unlink(aside.c_str());
    return true;
}

}  // namespace

std::string ClaimPath(const std::string& folder, const std::string& key) {
    return (std::filesystem::path(folder) / (StableHashHex(key) + ".claim")).string();
}

std::optional<std::string> LiveClaimHolder(const std::string& path) {
    const std::string holder = FirstLineOf(path);
    if (holder.empty() || !HolderIsLive(holder, path)) return std::nullopt;
    std::istringstream in(holder);
    std::string host, boot, pid;
    in >> host >> boot >> pid;
    return host + " pid " + pid;
}

std::optional<InputClaim> InputClaim::Take(const std::string& folder, const std::string& key) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = ClaimPath(folder, key);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (CreateClaim(path)) return InputClaim(path);
        if (errno != EEXIST) return std::nullopt;
        const std::string holder = FirstLineOf(path);
        if (HolderIsLive(holder, path) || !RemoveStale(path, holder)) return std::nullopt;
    }
    return std::nullopt;
}

InputClaim::~InputClaim() {
    if (!path_.empty()) ::unlink(path_.c_str());
}

void InputClaim::Renew() const { ::utimensat(AT_FDCWD, path_.c_str(), nullptr, 0); }

}  // namespace tessera::app
