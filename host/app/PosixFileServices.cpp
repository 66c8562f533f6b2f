#include "app/PosixFileServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "host/HostError.h"
#include "pdf/TemporaryOutput.h"
#include "settings/UserFolders.h"

namespace tessera::app {

bool PosixFileServices::FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> PosixFileServices::CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return std::nullopt;
    const int error = errno;
    if (error == EEXIST && FolderExists(path)) return std::nullopt;
    // A file in the folder's place "exists", yet it is no folder.
    return std::strerror(error == EEXIST ? ENOTDIR : error);
}

std::optional<std::string> PosixFileServices::PersonalFolder() { return settings::DocumentsFolder(); }

bool PosixFileServices::IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;  // a file that is not there is no other file
    return std::filesystem::equivalent(a, b, error);
}

namespace {

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
    throw host::HostError(host::kErrorFile, "cannot read " + path + ": " + why);
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::string PosixFileServices::ReadFile(const std::string& path, std::size_t maxBytes) {
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) CannotRead(path, std::strerror(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) CannotRead(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) CannotRead(path, std::strerror(EISDIR));
    // The size is checked as the bytes come, for files that grow or report none.
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

void PosixFileServices::WriteFile(const std::string& path, const std::string& bytes) {
    // Profiles and sequences may hold passwords: readable by their owner only,
    // as the settings file is.
    pdf::TemporaryOutput output(path, 0600);
    output.Write(bytes);
    output.Commit();
}

}  // namespace tessera::app
