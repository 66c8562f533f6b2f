#pragma once
// A file that appears under its final name whole or not at all.
#include <cstdio>
#include <string>

namespace tessera::pdf {

class TemporaryOutput {
public:
    // Creates a temporary file with a short name in the folder of `target`
    // (the target's own name may already use all the bytes a name may have).
    // HostError when it cannot be created.
    explicit TemporaryOutput(std::string target);
    // Removes the temporary file unless it was committed.
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    std::FILE* File() const { return file_; }
    const std::string& Path() const { return temporary_; }
    // Checks every write, the flush and the close, then renames the file to its
    // target. HostError naming the target and the reason when any step failed.
    void Commit();

private:
    void Fail(const std::string& what, int error);

    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace tessera::pdf
