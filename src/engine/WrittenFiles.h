#pragma once
// The files a run, or a whole batch, has written, known by the identity the
// file system gives them: another name that reaches one of them (a symbolic
// link to a folder, another letter case on a volume that ignores case) is
// the same file, and writing it again would replace an output.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/FileServices.h"

namespace tessera {

class WrittenFiles {
public:
    // Whether the file at path (when there is one) was written here.
    bool Has(const std::string& path) const;
    // After path was written.
    void Note(const std::string& path);

private:
    std::set<host::FileIdentity> files_;
};

// Whether two of the paths may turn out one file once written: each is
// compared by the folder it goes to (its nearest existing folder, known by
// identity, and what is still to be made below it) and its name in any letter
// case. Cautious: a "may" costs only the writing in parallel.
bool PathsMayMeet(const std::vector<std::string>& paths);

}  // namespace tessera
