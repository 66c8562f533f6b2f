#pragma once
// The kinds of page element: one list for the host's content element types,
// the plug-in's content queries, their command-line words and their display
// names. 0 to 28 are the host's content element types (what
// PageElementServices::Type returns); 29 to 44 are the annotation, action and
// page properties the plug-in counts beside them. Queries store kinds as these
// integers; a stored kind that names no enumerator is carried as it is (the
// underlying type holds any stored value): it never counts and its name is
// "Element".
#include <cstdint>

namespace tessera::host {

enum class PageElementKind : std::int32_t {
    Text = 1,        // one BT..ET that shows text
    Path = 2,        // one painted path
    Image = 3,       // an image XObject or an inline image
    Form = 4,        // a form XObject; the plug-in counts form field widgets here too
    PostScript = 5,  // PostScript XObject or operator
    Container = 12,  // marked content BMC/BDC..EMC, which holds a list of further elements
    Shading = 16,    // the sh operator
    TextComment = 29,
    LinkToPage = 30,
    ExternalLink = 31,
    Transition = 32,
    Transparency = 33,
    Rotated = 34,
    WebLink = 35,
    Popup = 36,
    SubmitForm = 37,
    ResetForm = 38,
    JavaScript = 39,
    Launch = 40,
    PlaySound = 41,
    PlayMovie = 42,
    Highlight = 43,
    Stamp = 44,
};

inline constexpr int kPageElementKindCount = 45;

}  // namespace tessera::host
