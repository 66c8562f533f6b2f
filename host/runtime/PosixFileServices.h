#pragma once
#include "host/FileServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::app {

class PosixFileServices : public host::FileServices {
public:
    // The store knows which files the run reads.
    explicit PosixFileServices(const pdf::DocumentStore& store) : store_(store) {}
    bool FolderExists(const std::string& path) override;
    std::optional<std::string> CreateFolder(const std::string& path) override;
    std::optional<std::string> PersonalFolder() override;
    bool IsSameFile(const std::string& a, const std::string& b) override;
    std::optional<host::FileIdentity> Identity(const std::string& path) override { return pdf::IdentityOf(path); }
    bool IsRunInput(const std::string& path) override { return store_.IsInputFile(path); }
    std::string ReadFile(const std::string& path, std::size_t maxBytes) override;
    std::optional<std::string> ModuleFault(const std::string& path) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;

private:
    const pdf::DocumentStore& store_;
};

}  // namespace tessera::app
