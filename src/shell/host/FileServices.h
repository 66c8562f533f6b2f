#pragma once
// File-system operations the plug-in needs ("AcroSupport" files and paths).
#include <string>

namespace tessera::host {

class FileServices {
public:
    virtual ~FileServices() = default;
    virtual bool FolderExists(const std::string& path) = 0;
    // One level; an existing folder is fine. False when it could not be made.
    virtual bool CreateFolder(const std::string& path) = 0;
    // The same file, followed through links; false when either does not exist.
    virtual bool IsSameFile(const std::string& a, const std::string& b) = 0;
};

}  // namespace tessera::host
