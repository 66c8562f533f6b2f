#include "engine/WrittenFiles.h"

#include <cctype>

#include "access/Host.h"

namespace tessera {
namespace {

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The folder as its nearest existing ancestor's identity and the names still
// to be made below it.
std::string KeyOf(const std::string& folder) {
    std::string existing = folder.empty() ? "." : folder, below;
    for (;;) {
        if (const std::optional<host::FileIdentity> id = Host().files->Identity(existing))
            return std::to_string(id->device) + ":" + std::to_string(id->inode) + LowerCase(below);
        if (existing == "/" || existing == ".") return LowerCase(folder);  // nothing there at all
        const std::size_t slash = existing.rfind('/');
        below = (slash == std::string::npos ? "/" + existing : existing.substr(slash)) + below;
        existing = slash == std::string::npos ? "." : slash == 0 ? "/" : existing.substr(0, slash);
    }
}

}  // namespace

bool WrittenFiles::Has(const std::string& path) const {
    const std::optional<host::FileIdentity> file = Host().files->Identity(path);
    return file && files_.count(*file) > 0;
}

void WrittenFiles::Note(const std::string& path) {
    if (const std::optional<host::FileIdentity> file = Host().files->Identity(path)) files_.insert(*file);
}

bool PathsMayMeet(const std::vector<std::string>& paths) {
    std::map<std::string, std::string> folderKeys;
    std::set<std::string> seen;
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash ? slash : 1);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        auto [known, added] = folderKeys.try_emplace(folder);
        if (added) known->second = KeyOf(folder);
        if (!seen.insert(known->second + "/" + LowerCase(name)).second) return true;
    }
    return false;
}

}  // namespace tessera
