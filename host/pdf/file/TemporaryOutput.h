#pragma once
// A file that appears under its final name whole or not at all.
#include <string>
#include <string_view>
#include <vector>

namespace tessera::pdf {

class TemporaryOutput {
public:
    // Creates a temporary file with a short name in the folder of `target`
    // (the target's own name may already use all the bytes a name may have).
    // HostError when it cannot be created. `mode` is narrowed by the umask.
    explicit TemporaryOutput(std::string target, unsigned mode = 0666);
    // Removes the temporary file unless it was committed.
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    const std::string& Path() const { return temporary_; }
    int Descriptor() const { return fd_; }
    // Buffered; HostError naming the target and the reason at the first
    // write that fails (a full disk, for one).
    void Write(std::string_view bytes);
    // Writes what is buffered, closes the file, and only when every step
    // succeeded renames it to its target; HostError otherwise. `pages`, the
    // input's pages it holds, go into the report an interrupt gives.
    void Commit(std::vector<int> pages = {});

private:
    void Flush();
    [[noreturn]] void Fail(const char* what, int error) const;

    std::string target_;
    std::string temporary_;
    std::string buffer_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace tessera::pdf
