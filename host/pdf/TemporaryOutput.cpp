#include "pdf/TemporaryOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "pdf/InterruptCleanup.h"
#include "shell/host/HostError.h"

namespace tessera::pdf {
namespace {

// At most 24 bytes: a process id has at most 7 digits on Linux.
std::string TemporaryName(int attempt) {
    return ".tessera-" + std::to_string(::getpid()) + (attempt ? "-" + std::to_string(attempt) : "") + ".part";
}

// Open for writing, created here and now: never a file or link that was there.
int CreateNew(const std::string& folder, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + TemporaryName(attempt);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

std::string FolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? "" : target.substr(0, slash + 1);
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::string target) : target_(std::move(target)) {
    WatchInterrupts();
    const int fd = CreateNew(FolderOf(target_), temporary_);
    if (fd < 0) throw host::HostError(host::kErrorFile, "cannot write " + target_ + ": " + std::strerror(errno));
    SetPendingOutput(temporary_, target_);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int error = errno;
        ::close(fd);
        Fail("cannot write ", error);
    }
}

TemporaryOutput::~TemporaryOutput() {
    if (committed_) return;
    if (file_) std::fclose(file_);
    ::unlink(temporary_.c_str());
    SetPendingOutput("", "");
}

void TemporaryOutput::Fail(const std::string& what, int error) {
    throw host::HostError(host::kErrorFile, what + target_ + ": " + std::strerror(error));
}

void TemporaryOutput::Commit() {
    // A full disk may show only here: the flush of the last buffered bytes, an
    // earlier write that failed, or the close.
    int error = std::fflush(file_) == 0 ? 0 : errno;
    if (!error && std::ferror(file_)) error = EIO;
    if (std::fclose(std::exchange(file_, nullptr)) != 0 && !error) error = errno;
    if (error) Fail("could not write all of ", error);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot write ", errno);
    committed_ = true;
    NoteFinishedOutput(target_);
}

}  // namespace tessera::pdf
