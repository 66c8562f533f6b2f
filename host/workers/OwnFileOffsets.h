#pragma once
// A forked process shares the open file descriptions of its parent, and with
// them the read offsets: two processes reading one document through the same
// descriptor move each other's place in the file. The files this process has
// open for reading are listed before the fork and opened again in the child,
// at the same offset and under the same descriptor numbers, so that each
// process reads on its own.
#include <sys/types.h>

#include <string>
#include <vector>

namespace tessera::app {

class OwnFileOffsets {
public:
    // Lists the regular files open read-only, past the standard streams.
    OwnFileOffsets();
    // In the child: opens each one again in place; false when one cannot be.
    bool Reopen() const;

private:
    struct OpenFile {
        int descriptor;
        std::string path;
        off_t offset;
        int descriptorFlags;
    };
    std::vector<OpenFile> files_;
};

}  // namespace tessera::app
