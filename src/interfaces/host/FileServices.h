#pragma once
// File-system operations the plug-in needs ("AcroSupport" files and paths).
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessera::host {

// A file as the system knows it, whatever name (link, letter case, "..")
// reaches it.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

class FileServices {
public:
    virtual ~FileServices() = default;
    virtual bool FolderExists(const std::string& path) = 0;
    // One level; an existing folder is fine. None when the folder exists now,
    // else the system's reason why it could not be made ("Permission denied").
    virtual std::optional<std::string> CreateFolder(const std::string& path) = 0;
    // The user's personal documents folder as the desktop names it, or the
    // home folder, or none when the user has no home.
    virtual std::optional<std::string> PersonalFolder() = 0;
    // The same file, followed through links; false when either does not exist.
    virtual bool IsSameFile(const std::string& a, const std::string& b) = 0;
    // The file at path, followed through links; none when nothing is there.
    virtual std::optional<FileIdentity> Identity(const std::string& path) = 0;
    // Whether path names a file the run reads: an open document or, during a
    // batch, any of its input files, whether already split or still waiting.
    virtual bool IsRunInput(const std::string& path) = 0;
    // The whole file; HostError saying why when it cannot be read or holds
    // more than `maxBytes`.
    virtual std::string ReadFile(const std::string& path, std::size_t maxBytes) = 0;
    // Replaces the file whole or not at all: the bytes go to a temporary file
    // beside it, renamed over it once written; the file is its owner's alone
    // (it may hold passwords). HostError saying why.
    // Why the module at `path` cannot be loaded safely (not a regular file,
    // cut short of what its headers promise), or none: a module cut short
    // is mapped all the same, and ends the program at its first touch.
    virtual std::optional<std::string> ModuleFault(const std::string& /*path*/) { return std::nullopt; }
    virtual void WriteFile(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace tessera::host
