#pragma once
// Value types that cross the seam. Backend types never do.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/Permissions.h"

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
struct ObjectRefHash {
    std::size_t operator()(const ObjectRef& r) const {
        return (static_cast<std::size_t>(r.doc) << 32) ^ std::size_t{r.index};
    }
};
using BookmarkRef = ObjectRef;
using ActionRef = ObjectRef;

// A rectangle in PDF user space of the unrotated page: points, origin at the
// bottom left of the page's coordinate system, y growing upward.
struct Rect {
    double left = 0, bottom = 0, right = 0, top = 0;
};

// An explicit destination: a page and the view the array gives after it
// ("XYZ" left top zoom, "Fit", "FitH" top, "FitR" left bottom right top...).
// A parameter the file leaves null stays none.
struct Destination {
    int page = -1;  // 0-based
    std::string fit;
    std::vector<std::optional<double>> parameters;
};

struct RgbColor {
    double red = 0, green = 0, blue = 0;
};

// What an output is protected with.
struct SecurityRecord {
    bool hasOpenPassword = false;
    std::string openPassword;
    bool hasPermissionsPassword = false;
    std::string permissionsPassword;
    Permissions permissions;
};

// Document flags word.
inline constexpr std::uint32_t kDocFlagLinearized = 0x400;
inline constexpr std::uint32_t kDocFlagFullSave = 0x02;

// Save flags.
inline constexpr std::uint16_t kSaveFull = 0x01;
inline constexpr std::uint16_t kSaveCollectGarbage = 0x20;
inline constexpr std::uint16_t kSaveLinearized = 0x04;
// The document ID made from the content, so that the same output is the same file.
inline constexpr std::uint16_t kSaveDeterministic = 0x08;

}  // namespace tessera::host
