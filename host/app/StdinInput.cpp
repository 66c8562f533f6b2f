#include "app/StdinInput.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/InterruptCleanup.h"

namespace tessera::app {

StdinInput::~StdinInput() {
    std::error_code ignored;
    if (folder_.empty()) return;
    std::filesystem::remove_all(folder_, ignored);
    SetInputCopy("", "");
}

std::optional<std::string> StdinInput::Copy() {
    if (::isatty(STDIN_FILENO)) {
        std::cerr << "tessera: \"-\" reads the PDF from standard input, which is a terminal here" << std::endl;
        return std::nullopt;
    }
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "tessera-XXXXXX").string();
    if (error || !::mkdtemp(pattern.data())) {
        std::cerr << "tessera: no temporary folder for the input read from standard input" << std::endl;
        return std::nullopt;
    }
    folder_ = pattern;
    const std::string path = folder_ + "/stdin.pdf";
    SetInputCopy(path, folder_);  // a signal while it is read removes it too
    std::ofstream out(path, std::ios::binary);
    std::vector<char> buffer(1 << 16);
    while (out) {
        std::cin.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (std::cin.gcount() > 0) out.write(buffer.data(), std::cin.gcount());
        if (!std::cin) break;
    }
    out.close();
    if (!out || std::cin.bad()) {
        std::cerr << "tessera: the input read from standard input could not be kept in " << folder_ << std::endl;
        return std::nullopt;
    }
    return path;
}

}  // namespace tessera::app
