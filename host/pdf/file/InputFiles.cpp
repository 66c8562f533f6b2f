#include "pdf/file/InputFiles.h"

#include <sys/stat.h>

namespace tessera::pdf {

std::optional<host::FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return host::FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

void InputFiles::Set(const std::vector<std::string>& paths) {
    files_.clear();
    for (const std::string& path : paths)
        if (const std::optional<host::FileIdentity> file = IdentityOf(path)) files_.insert(*file);
}

}  // namespace tessera::pdf
