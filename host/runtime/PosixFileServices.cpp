#include "runtime/PosixFileServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "host/HostError.h"
#include "os/RegularFile.h"
#include "pdf/file/TemporaryOutput.h"
#include "runtime/ModuleFile.h"
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

std::string PosixFileServices::ReadFile(const std::string& path, std::size_t maxBytes) {
    return pdf::ReadRegularFile(path, maxBytes);
}

void PosixFileServices::WriteFile(const std::string& path, const std::string& bytes) {
    if (store_.IsInputFile(path))
        throw host::HostError(host::kErrorFile, "will not write over an input of this run: " + path);
    // Profiles and sequences may hold passwords: readable by their owner only,
    // as the settings file is.
    pdf::TemporaryOutput output(path, 0600);
    output.Write(bytes);
    output.Commit();
}

std::optional<std::string> PosixFileServices::ModuleFault(const std::string& path) { return ModuleFileFault(path); }

}  // namespace tessera::app
