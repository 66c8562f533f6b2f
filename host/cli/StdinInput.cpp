#include "cli/StdinInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "os/InterruptCleanup.h"

namespace tessera::app {

StdinInput::~StdinInput() {
    std::error_code ignored;
    if (folder_.empty()) return;
    std::filesystem::remove_all(folder_, ignored);
    SetInputCopy("", "");
}

std::optional<std::string> StdinInput::Refuse(const std::string& why, int status) {
    std::cerr << "tessera: " << why << std::endl;
    failedStatus_ = status;
    reason_ = why;
    return std::nullopt;
}

std::optional<std::string> StdinInput::Copy() {
    if (::isatty(STDIN_FILENO)) return Refuse("\"-\" reads the PDF from standard input, which is a terminal here", 2);
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) != 0) return Refuse("\"-\" reads the PDF from standard input, which is closed", 1);
    if (S_ISDIR(info.st_mode)) return Refuse("\"-\" reads the PDF from standard input, which is a folder", 1);
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "tessera-XXXXXX").string();
    if (error || !::mkdtemp(pattern.data()))
        return Refuse("no temporary folder for the input read from standard input", 1);
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
    if (!out || std::cin.bad()) return Refuse("the input read from standard input could not be kept in " + folder_, 1);
    std::error_code sizeError;
    if (std::filesystem::file_size(path, sizeError) == 0 && !sizeError)
        return Refuse("standard input was empty: no PDF was given on it", 1);
    return path;
}

}  // namespace tessera::app
