#pragma once
#include "shell/host/FileServices.h"

namespace tessera::app {

class PosixFileServices : public host::FileServices {
public:
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool IsSameFile(const std::string& a, const std::string& b) override;
};

}  // namespace tessera::app
