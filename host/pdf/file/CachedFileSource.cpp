#include "pdf/file/CachedFileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tessera::pdf {
namespace {

constexpr qpdf_offset_t kBlockBytes = 64 * 1024;
constexpr std::size_t kBlocks = 16;  // 1 MiB: object streams and xref sections sit together

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

CachedFileSource::CachedFileSource(const std::string& path) : name_(path), blocks_(kBlocks) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Fail("open", path);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        ::close(fd_);
        Fail("stat", path);
    }
    size_ = info.st_size;
}

CachedFileSource::~CachedFileSource() { ::close(fd_); }

void CachedFileSource::seek(qpdf_offset_t offset, int whence) {
    const qpdf_offset_t base = whence == SEEK_END ? size_ : whence == SEEK_CUR ? position_ : 0;
    if (base + offset < 0) throw std::runtime_error(name_ + ": seek before beginning of file");
    position_ = base + offset;
}

// A file that shrinks while it is read ends where its bytes end.
std::size_t CachedFileSource::ReadAt(qpdf_offset_t offset, char* buffer, std::size_t length) const {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd_, buffer + done, length - done, offset + static_cast<qpdf_offset_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("read", name_);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

const CachedFileSource::Block& CachedFileSource::BlockAt(qpdf_offset_t offset) {
    const qpdf_offset_t start = offset - offset % kBlockBytes;
    auto found = std::find_if(blocks_.begin(), blocks_.end(), [&](const Block& b) { return b.start == start; });
    if (found == blocks_.end()) {
        found = std::min_element(blocks_.begin(), blocks_.end(),
                                 [](const Block& a, const Block& b) { return a.used < b.used; });
        found->start = -1;  // a failed read leaves no half block behind
        found->bytes.resize(static_cast<std::size_t>(std::clamp<qpdf_offset_t>(size_ - start, 0, kBlockBytes)));
        found->bytes.resize(ReadAt(start, found->bytes.data(), found->bytes.size()));
        found->start = start;
    }
    found->used = ++clock_;
    return *found;
}

size_t CachedFileSource::read(char* buffer, size_t length) {
    last_offset = std::min(position_, size_);
    std::size_t done = 0;
    if (length >= static_cast<std::size_t>(kBlockBytes) && position_ < size_) {
        // Stream data: straight into the caller's buffer, past the blocks.
        done = ReadAt(position_, buffer, std::min<std::size_t>(length, static_cast<std::size_t>(size_ - position_)));
    } else {
        while (done < length && position_ + static_cast<qpdf_offset_t>(done) < size_) {
            const qpdf_offset_t at = position_ + static_cast<qpdf_offset_t>(done);
            const Block& block = BlockAt(at);
            const auto inside = static_cast<std::size_t>(at - block.start);
            if (inside >= block.bytes.size()) break;
            const std::size_t n = std::min(length - done, block.bytes.size() - inside);
            // NOLINTNEXTLINE(bugprone-not-null-terminated-result): bytes of a file, not a string
            std::memcpy(buffer + done, block.bytes.data() + inside, n);
            done += n;
        }
    }
    position_ += static_cast<qpdf_offset_t>(done);
    return done;
}

// The offset of the next end of line, with the position after the run of
// CR and LF that starts there; the end of the file when there is none.
qpdf_offset_t CachedFileSource::findAndSkipNextEOL() {
    if (position_ >= size_) return last_offset = position_ = size_;
    bool found = false;
    qpdf_offset_t eol = -1;
    while (position_ < size_) {
        const Block& block = BlockAt(position_);
        const auto inside = static_cast<std::size_t>(position_ - block.start);
        if (inside >= block.bytes.size()) break;
        const char* p = block.bytes.data() + inside;
        const char* end = block.bytes.data() + block.bytes.size();
        if (!found) {
            p = std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
            if (p != end) {
                found = true;
                eol = block.start + (p - block.bytes.data());
            }
        }
        if (found) {
            p = std::find_if(p, end, [](char c) { return c != '\r' && c != '\n'; });
            position_ = block.start + (p - block.bytes.data());
            if (p != end) return eol;
        } else {
            position_ = block.start + static_cast<qpdf_offset_t>(block.bytes.size());
        }
    }
    return found ? eol : position_;
}

}  // namespace tessera::pdf
