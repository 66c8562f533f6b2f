#pragma once
#include "host/FileServices.h"

namespace tessera::app {

class PosixFileServices : public host::FileServices {
public:
    bool FolderExists(const std::string& path) override;
    std::optional<std::string> CreateFolder(const std::string& path) override;
    std::optional<std::string> PersonalFolder() override;
    bool IsSameFile(const std::string& a, const std::string& b) override;
    std::string ReadFile(const std::string& path, std::size_t maxBytes) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;
};

}  // namespace tessera::app
