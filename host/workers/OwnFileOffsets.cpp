#include "workers/OwnFileOffsets.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace tessera::app {
namespace {

std::vector<int> OpenDescriptors() {
    std::vector<int> descriptors;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return descriptors;
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > STDERR_FILENO && fd != own) descriptors.push_back(fd);
    }
    ::closedir(dir);
    return descriptors;
}

std::string LinkTarget(int fd) {
    char buffer[4096];
    const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buffer, sizeof buffer);
    return length > 0 && static_cast<std::size_t>(length) < sizeof buffer
               ? std::string(buffer, static_cast<std::size_t>(length))
               : "";
}

}  // namespace

OwnFileOffsets::OwnFileOffsets() {
    for (int fd : OpenDescriptors()) {
        struct stat info {};
        const int statusFlags = ::fcntl(fd, F_GETFL);
        if (statusFlags < 0 || (statusFlags & O_ACCMODE) != O_RDONLY) continue;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) continue;
        const std::string path = LinkTarget(fd);
        const off_t offset = ::lseek(fd, 0, SEEK_CUR);
        if (!path.empty() && offset >= 0) files_.push_back({fd, path, offset, ::fcntl(fd, F_GETFD)});
    }
}

bool OwnFileOffsets::Reopen() const {
    for (const OpenFile& file : files_) {
        const int fresh = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fresh < 0) return false;
        const bool placed =
            ::lseek(fresh, file.offset, SEEK_SET) == file.offset && ::dup2(fresh, file.descriptor) == file.descriptor;
        ::close(fresh);
        if (!placed) return false;
        ::fcntl(file.descriptor, F_SETFD, file.descriptorFlags);
    }
    return true;
}

}  // namespace tessera::app
