#pragma once
// The kinds of page element a content query can ask for: 0 to 28 are the
// host's content element types, 29 to 44 annotation, action and page properties.
#include <cstdint>
#include <string>

namespace tessera {

inline constexpr int kPageElementKindCount = 45;

// Kinds 0 to 28 are the host's element types (host::kElementImage...); these
// are the plug-in's own.
enum PageElementKind : std::int32_t {
    kKindTextComment = 29,
    kKindLinkToPage = 30,
    kKindExternalLink = 31,
    kKindTransition = 32,
    kKindTransparency = 33,
    kKindRotated = 34,
    kKindWebLink = 35,
    kKindPopup = 36,
    kKindSubmitForm = 37,
    kKindResetForm = 38,
    kKindJavaScript = 39,
    kKindLaunch = 40,
    kKindPlaySound = 41,
    kKindPlayMovie = 42,
    kKindHighlight = 43,
    kKindStamp = 44,
};

// The localised display name of a kind; "Element" for kinds without one.
std::string ElementKindName(std::int32_t kind);

}  // namespace tessera
