#pragma once
// What a PDF's standard security handler allows: its permission word, as a
// file's /P holds it, read and written by the bits the split cares about.
#include <cstdint>

namespace tessera::host {

enum class Permission : std::int32_t {
    Print = 0x04,
    Modify = 0x08,    // assembling the document and other changes
    Copy = 0x10,      // copying and extracting content, taking pages out
    Annotate = 0x20,  // annotating and filling forms
};

class Permissions {
public:
    // Everything allowed: the word with every bit set.
    constexpr Permissions() = default;
    // Only the given bits.
    constexpr explicit Permissions(std::int32_t word) : word_(word) {}

    constexpr bool AllowsEverything() const { return word_ == kEverything; }
    constexpr bool Allows(Permission permission) const {
        return AllowsEverything() || (word_ & static_cast<std::int32_t>(permission)) != 0;
    }
    constexpr Permissions With(Permission permission) const {
        return Permissions(word_ | static_cast<std::int32_t>(permission));
    }
    constexpr std::int32_t Word() const { return word_; }

    friend constexpr bool operator==(const Permissions&, const Permissions&) = default;

private:
    static constexpr std::int32_t kEverything = -1;
    std::int32_t word_ = kEverything;
};

}  // namespace tessera::host
