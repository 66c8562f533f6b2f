#include "app/PosixFileServices.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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

}  // namespace tessera::app
