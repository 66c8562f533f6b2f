#pragma once
// The files a run reads, known by device and inode so that no other name of
// them (a link, "..", another letter case on a volume that ignores it) can
// be mistaken for a different file and written over.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/FileServices.h"

namespace tessera::pdf {

// The file at path, links followed; none when nothing is there.
std::optional<host::FileIdentity> IdentityOf(const std::string& path);

class InputFiles {
public:
    // Replaces the files; those not there are no input of anything.
    void Set(const std::vector<std::string>& paths);
    bool Contains(const host::FileIdentity& file) const { return files_.count(file) > 0; }

private:
    std::set<host::FileIdentity> files_;
};

}  // namespace tessera::pdf
