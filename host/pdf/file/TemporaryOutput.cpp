#include "pdf/file/TemporaryOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "os/ReplacementGate.h"

namespace tessera::pdf {
namespace {

constexpr std::size_t kBufferBytes = 1 << 16;

// At most 24 bytes: a process id has at most 7 digits on Linux.
std::string TemporaryName(int attempt) {
    return ".tessera-" + std::to_string(::getpid()) + (attempt ? "-" + std::to_string(attempt) : "") + ".part";
}

// Open for writing, created here and now: never a file or link that was there.
int CreateNew(const std::filesystem::path& folder, unsigned mode, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = (folder / TemporaryName(attempt)).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::string target, unsigned mode) : target_(std::move(target)) {
    app::WatchInterrupts();
    {
        const app::InterruptsHeld held;
        fd_ = CreateNew(std::filesystem::path(target_).remove_filename(), mode, temporary_);
        if (fd_ >= 0) app::SetPendingOutput(temporary_, target_);
    }
    if (fd_ < 0) Fail("cannot write ", errno);
    buffer_.reserve(kBufferBytes);
}

TemporaryOutput::~TemporaryOutput() {
    if (committed_ || temporary_.empty()) return;
    if (fd_ >= 0) ::close(fd_);
    const app::InterruptsHeld held;
    ::unlink(temporary_.c_str());
    app::SetPendingOutput("", "");
}

void TemporaryOutput::Fail(const char* what, int error) const {
    throw host::HostError(host::kErrorFile, what + target_ + ": " + std::strerror(error));
}

void TemporaryOutput::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferBytes) Flush();
    if (bytes.size() >= kBufferBytes) {
        buffer_ = bytes;
        Flush();
    } else {
        buffer_ += bytes;
    }
}

void TemporaryOutput::Flush() {
    for (std::size_t done = 0; done < buffer_.size();) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("could not write all of ", n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void TemporaryOutput::Commit(std::vector<int> pages) {
    Flush();
    // Some file systems report a full disk or a lost connection only on close.
    const int closed = ::close(std::exchange(fd_, -1));
    if (closed != 0) Fail("could not write all of ", errno);
    if (!app::MayReplace(target_)) Fail("did not replace ", ECANCELED);  // an earlier output failed
    app::HoldInterruptsUntilReported();
    const app::InterruptsHeld held;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot write ", errno);
    committed_ = true;
    app::NoteFinishedOutput({target_, std::move(pages), app::FinishedCount()});
}

}  // namespace tessera::pdf
