#pragma once
// The PDF a split reads from standard input ("tessera split -"): copied whole
// into a private temporary folder as stdin.pdf, so that names made from the
// input's name say "stdin", and removed with that folder when the run ends.
// A signal (SIGINT, SIGTERM, SIGHUP) removes them too.
#include <optional>
#include <string>

namespace tessera::app {

class StdinInput {
public:
    StdinInput() = default;
    ~StdinInput();
    StdinInput(const StdinInput&) = delete;
    StdinInput& operator=(const StdinInput&) = delete;

    // Copies standard input; the copy's path, or none with why on stderr
    // (standard input is a terminal, closed, a folder or empty; the copy
    // could not be written), and the exit status for it in FailedStatus.
    std::optional<std::string> Copy();
    // 2 where standard input cannot be a PDF as it was given (a terminal), else 1.
    int FailedStatus() const { return failedStatus_; }
    // Why the copy failed, as said on stderr.
    const std::string& Reason() const { return reason_; }

private:
    std::optional<std::string> Refuse(const std::string& why, int status);

    std::string folder_;
    int failedStatus_ = 1;
    std::string reason_;
};

}  // namespace tessera::app
