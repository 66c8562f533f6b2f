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
    // (standard input is a terminal, the copy could not be written).
    std::optional<std::string> Copy();

private:
    std::string folder_;
};

}  // namespace tessera::app
