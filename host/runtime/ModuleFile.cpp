#include "runtime/ModuleFile.h"

#include <elf.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace tessera::app {
namespace {

template <class Record>
bool ReadAt(std::ifstream& in, std::uint64_t offset, Record& record) {
    in.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(in.read(reinterpret_cast<char*>(&record), sizeof record));
}

std::string CutShort(std::uint64_t size, std::uint64_t promised) {
    return "it is cut short: " + std::to_string(size) + " bytes of the " + std::to_string(promised) +
           " its headers promise";
}

}  // namespace

std::optional<std::string> ModuleFileFault(const std::string& path) {
    // A FIFO would hold the open, a device such as /dev/zero map without end.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    if (!S_ISREG(info.st_mode)) return "it is not a regular file";
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::uint64_t size = static_cast<std::uint64_t>(in.tellg());
    Elf64_Ehdr header{};
    if (!ReadAt(in, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64)
        return size < sizeof header ? CutShort(size, sizeof header) : "it is no module of this machine";
    const std::uint64_t sections = header.e_shoff + std::uint64_t{header.e_shnum} * header.e_shentsize;
    if (sections > size) return CutShort(size, sections);
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        if (!ReadAt(in, header.e_phoff + std::uint64_t{i} * header.e_phentsize, segment))
            return CutShort(size, header.e_phoff + std::uint64_t{header.e_phnum} * header.e_phentsize);
        if (segment.p_type == PT_LOAD && segment.p_offset + segment.p_filesz > size)
            return CutShort(size, segment.p_offset + segment.p_filesz);
    }
    return std::nullopt;
}

}  // namespace tessera::app
