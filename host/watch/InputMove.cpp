#include "watch/InputMove.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "os/FileDigest.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

// The first name in `folder` no file has: NAME.pdf, NAME-2.pdf...
std::string FreeName(const fs::path& folder, const fs::path& name) {
    fs::path candidate = folder / name;
    for (int n = 2; fs::symlink_status(candidate).type() != fs::file_type::not_found; ++n)
        candidate = folder / (name.stem().string() + "-" + std::to_string(n) + name.extension().string());
    return candidate.string();
}

bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    return synced;
}

// Whether `target` is already the input: a move cut off by a kill or a power
// cut after the input got its new name and before the old one went.
bool AlreadyThere(const std::string& input, const std::string& target) {
    struct stat in {
    }, there{};
    if (::stat(input.c_str(), &in) != 0 || ::stat(target.c_str(), &there) != 0) return false;
    if (in.st_dev == there.st_dev && in.st_ino == there.st_ino) return true;
    return in.st_size == there.st_size && FileSha256(input) == FileSha256(target);
}

// Across file systems: the copy must hold the same bytes before the input goes.
// Its temporary name is the input's, so that a copy cut off is replaced by the next.
std::optional<std::string> CopyAcross(const std::string& input, const fs::path& folder, std::string& failure) {
    const std::string temporary =
        (folder / (".tessera-move-" + fs::path(input).filename().string().substr(0, 100) + ".part")).string();
    std::error_code error;
    fs::copy_file(input, temporary, fs::copy_options::overwrite_existing, error);
    const std::optional<std::string> before = FileSha256(input);
    if (error || !SyncFile(temporary) || !before || FileSha256(temporary) != before) {
        failure = "cannot copy it into " + folder.string() + (error ? ": " + error.message() : "");
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    const std::string target = FreeName(folder, fs::path(input).filename());
    if (::link(temporary.c_str(), target.c_str()) != 0) {
        failure = "cannot name its copy " + target + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    ::unlink(temporary.c_str());
    if (::unlink(input.c_str()) != 0) failure = "copied to " + target + " but not removed: " + std::strerror(errno);
    return target;
}

}  // namespace

std::optional<std::string> MoveInto(const std::string& input, const std::string& folder, std::string& failure) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        failure = "cannot make " + folder + ": " + error.message();
        return std::nullopt;
    }
    const std::string own = (fs::path(folder) / fs::path(input).filename()).string();
    if (AlreadyThere(input, own)) {
        ::unlink(input.c_str());
        return own;
    }
    // link then unlink rather than rename: rename would silently replace a
    // file of that name made between the choice of name and the move.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string target = FreeName(folder, fs::path(input).filename());
        if (::link(input.c_str(), target.c_str()) == 0) {
            ::unlink(input.c_str());
            return target;
        }
        if (errno == EXDEV || errno == EPERM || errno == ENOTSUP) return CopyAcross(input, folder, failure);
        if (errno != EEXIST) {
            failure = "cannot move it into " + folder + ": " + std::strerror(errno);
            return std::nullopt;
        }
    }
    failure = "cannot find a free name for it in " + folder;
    return std::nullopt;
}

}  // namespace tessera::app
