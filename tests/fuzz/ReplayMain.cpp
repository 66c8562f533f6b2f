// Runs fuzz targets over saved inputs: `fuzz_replay TARGET PATH...`, each path
// a file or a folder of files. A fault ends the program as it would the fuzzer.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace tessera::fuzz {
namespace {

std::map<std::string, Entry>& Targets() {
    static std::map<std::string, Entry> targets;
    return targets;
}

int RunFile(Entry entry, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

}  // namespace

Registration::Registration(const char* name, Entry entry) { Targets()[name] = entry; }

}  // namespace tessera::fuzz

int main(int argc, char** argv) {
    using namespace tessera::fuzz;
    const auto target = argc > 1 ? Targets().find(argv[1]) : Targets().end();
    if (target == Targets().end()) {
        std::cerr << "usage: fuzz_replay TARGET PATH...; targets:";
        for (const auto& [name, entry] : Targets()) std::cerr << ' ' << name;
        std::cerr << '\n';
        return 2;
    }
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path)) {
            count += RunFile(target->second, path);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(path)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) count += RunFile(target->second, file);
    }
    std::cout << argv[1] << ": " << count << " inputs\n";
    return count > 0 ? 0 : 1;
}
