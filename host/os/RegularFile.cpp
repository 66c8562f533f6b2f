#include "os/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/HostError.h"

namespace tessera::pdf {
namespace {

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
    throw host::HostError(host::kErrorFile, "cannot read " + path + ": " + why);
}

// Why a file of this kind cannot be read, or none for a regular file.
const char* Unreadable(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    return S_ISREG(st.st_mode) ? nullptr : "it is not a regular file (a pipe, a device or a socket)";
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

void CheckRegularFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return;  // the reader says why
    if (const char* why = Unreadable(st)) throw host::HostError(host::kErrorFile, why);
}

std::string ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    // Not blocking: opening a FIFO for reading would wait for a writer.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) CannotRead(path, std::strerror(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) CannotRead(path, std::strerror(errno));
    if (const char* why = Unreadable(st)) CannotRead(path, why);
    // The size is checked as the bytes come, for files that grow.
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) CannotRead(path, std::strerror(errno));
        if (n == 0) return bytes;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            CannotRead(path, "larger than " + std::to_string(maxBytes) + " bytes");
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace tessera::pdf
