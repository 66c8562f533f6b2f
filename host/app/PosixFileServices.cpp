#include "app/PosixFileServices.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

namespace tessera::app {

bool PosixFileServices::FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileServices::CreateFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && FolderExists(path));
}

bool PosixFileServices::IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;  // a file that is not there is no other file
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace tessera::app
