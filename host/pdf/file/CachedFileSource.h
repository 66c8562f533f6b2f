#pragma once
// qpdf's own file source seeks and reads through stdio for every object it
// parses: a quarter of a million lseek and read calls for a split into single
// pages of a 9 MB file. This one keeps the last blocks it read and reads with
// pread, so an object near one read lately costs no system call, and forked
// workers never share a file position.
#include <qpdf/InputSource.hh>

#include <cstdint>
#include <string>
#include <vector>

namespace tessera::pdf {

class CachedFileSource final : public InputSource {
public:
    // std::runtime_error, as qpdf's own source, when the file cannot be opened.
    explicit CachedFileSource(const std::string& path);
    ~CachedFileSource() override;
    CachedFileSource(const CachedFileSource&) = delete;
    CachedFileSource& operator=(const CachedFileSource&) = delete;

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return name_; }
    qpdf_offset_t tell() override { return position_; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { position_ = 0; }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char) override {
        if (position_ > 0) --position_;
    }

private:
    struct Block {
        qpdf_offset_t start = -1;
        std::string bytes;  // shorter than a block only at the end of the file
        std::uint64_t used = 0;
    };
    // The block holding `offset`, read if it is not kept; empty past the end.
    const Block& BlockAt(qpdf_offset_t offset);
    std::size_t ReadAt(qpdf_offset_t offset, char* buffer, std::size_t length) const;

    std::string name_;
    int fd_ = -1;
    qpdf_offset_t size_ = 0;
    qpdf_offset_t position_ = 0;
    std::vector<Block> blocks_;
    std::uint64_t clock_ = 0;
};

}  // namespace tessera::pdf
