#pragma once
// Which pages of a range's span go into the output, and in which order: the
// bits a range stores in its "Options" value. The watermark's bit (8) is not
// among them: a range carries its watermark itself (model/PageRange.h).
#include <cstdint>

namespace tessera {

enum class PageRangeFlag : std::int32_t {
    OddPages = 1,  // odd and even refer to 1-based page numbers
    EvenPages = 2,
    ReverseOrder = 4,
};

class PageRangeFlags {
public:
    constexpr PageRangeFlags() = default;
    constexpr PageRangeFlags(PageRangeFlag flag) : bits_(static_cast<std::int32_t>(flag)) {}
    // The flags of a stored value; bits no flag names are kept, to be stored again.
    static constexpr PageRangeFlags FromStored(std::int32_t bits) {
        PageRangeFlags flags;
        flags.bits_ = bits;
        return flags;
    }
    constexpr std::int32_t Stored() const { return bits_; }

    constexpr bool Has(PageRangeFlag flag) const { return (bits_ & static_cast<std::int32_t>(flag)) != 0; }
    constexpr void Set(PageRangeFlag flag) { bits_ |= static_cast<std::int32_t>(flag); }
    constexpr void Clear(PageRangeFlag flag) { bits_ &= ~static_cast<std::int32_t>(flag); }
    // One parity without the other: both, like neither, mean every page.
    constexpr bool OddOnly() const { return Has(PageRangeFlag::OddPages) && !Has(PageRangeFlag::EvenPages); }
    constexpr bool EvenOnly() const { return Has(PageRangeFlag::EvenPages) && !Has(PageRangeFlag::OddPages); }
    constexpr bool IsEmpty() const { return bits_ == 0; }

    friend constexpr PageRangeFlags operator|(PageRangeFlags a, PageRangeFlags b) {
        return FromStored(a.bits_ | b.bits_);
    }
    friend constexpr bool operator==(const PageRangeFlags&, const PageRangeFlags&) = default;

private:
    std::int32_t bits_ = 0;
};

constexpr PageRangeFlags operator|(PageRangeFlag a, PageRangeFlag b) { return PageRangeFlags(a) | b; }

}  // namespace tessera
