#include "app/FileDigest.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

std::string TextSha256(const std::string& text) {
    fz_sha256 state;
    fz_sha256_init(&state);
    fz_sha256_update(&state, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return Hex(state);
}

std::optional<std::string> FileSha256(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
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
    return Hex(state);
}

}  // namespace tessera::app
