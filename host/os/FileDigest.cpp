#include "os/FileDigest.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <tuple>
#include <vector>

#include <mupdf/fitz.h>

namespace tessera::app {
namespace {

std::string Hex(fz_sha256& state) {
    unsigned char digest[32];
    fz_sha256_final(&state, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : digest) hex += {kHex[byte >> 4], kHex[byte & 15]};
    return hex;
}

}  // namespace

std::uint64_t StableHash(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

std::string StableHashHex(std::string_view text) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(StableHash(text)));
    return hex;
}

std::string TextSha256(const std::string& text) {
    fz_sha256 state;
    fz_sha256_init(&state);
    fz_sha256_update(&state, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return Hex(state);
}

namespace {

// A file as it is now: another file, or this one changed, has another key.
using FileState = std::tuple<dev_t, ino_t, off_t, long long, long long>;

// The digests already taken: the report of a signal takes each output's as
// it is finished, and the run's report again at its end.
std::map<FileState, std::string>& KnownDigests() {
    static std::map<FileState, std::string> known;
    return known;
}

}  // namespace

std::optional<std::string> FileSha256(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<FileState> key;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        key =
            FileState{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                      info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
    if (const auto known = key ? KnownDigests().find(*key) : KnownDigests().end(); known != KnownDigests().end()) {
        ::close(fd);
        return known->second;
    }
    fz_sha256 state;
    fz_sha256_init(&state);
    std::vector<unsigned char> buffer(1 << 20);
    ssize_t got = 0;
    while ((got = ::read(fd, buffer.data(), buffer.size())) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        fz_sha256_update(&state, buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (got < 0) return std::nullopt;
    std::string digest = Hex(state);
    constexpr std::size_t kMostKnown = 1 << 16;
    if (KnownDigests().size() >= kMostKnown) KnownDigests().clear();
    if (key) KnownDigests().emplace(*key, digest);
    return digest;
}

}  // namespace tessera::app
