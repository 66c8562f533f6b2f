#pragma once
// Value types that cross the seam. Backend types never do.
#include <cstdint>
#include <string>

namespace tessera::host {

// A document known to the host; 0 is "no document".
using DocId = std::uint32_t;
inline constexpr DocId kNoDocument = 0;

// A host object inside one document (a bookmark, an action). Two refs to the
// same stored object compare equal, which lets callers detect cycles.
struct ObjectRef {
    DocId doc = kNoDocument;
    std::uint32_t index = 0;  // 0 is the null object

    bool IsNull() const { return index == 0; }
    friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};
using BookmarkRef = ObjectRef;
using ActionRef = ObjectRef;

// A rectangle in PDF user space of the unrotated page: points, origin at the
// bottom left of the page's coordinate system, y growing upward.
struct Rect {
    double left = 0, bottom = 0, right = 0, top = 0;
};

struct RgbColor {
    double red = 0, green = 0, blue = 0;
};

// What an output is protected with. The permission word uses the bits of the
// PDF standard security handler (0x04 print, 0x08 modify, 0x10 copy,
// 0x20 annotate); -1 allows everything.
struct SecurityRecord {
    bool hasOpenPassword = false;
    std::string openPassword;
    bool hasPermissionsPassword = false;
    std::string permissionsPassword;
    std::int32_t permissions = -1;
};

// Document flags word.
inline constexpr std::uint32_t kDocFlagLinearized = 0x400;
inline constexpr std::uint32_t kDocFlagFullSave = 0x02;

// Save flags.
inline constexpr std::uint16_t kSaveFull = 0x01;
inline constexpr std::uint16_t kSaveCollectGarbage = 0x20;
inline constexpr std::uint16_t kSaveLinearized = 0x04;

}  // namespace tessera::host
