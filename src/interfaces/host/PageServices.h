#pragma once
// Acquired pages ("PDModel" page calls): a page is held from AcquirePage to
// ReleasePage, and its annotations and page properties are read through it.
// Every operation raises HostError on failure.
#include <cstdint>
#include <string>

#include "host/HostTypes.h"

namespace tessera::host {

// An acquired page; 0 is "no page".
using PageId = std::uint32_t;
inline constexpr PageId kNoPage = 0;

// One annotation of a page, as far as a content query needs it. Subtypes are
// PDF names without the slash ("Link", "Text", "GoToR"...).
struct AnnotationInfo {
    bool valid = false;  // a dictionary the page really lists
    std::string subtype;
    bool hasAction = false;     // an /A action, or a /Dest, which stands for a GoTo
    std::string actionSubtype;  // the action's /S
};

class PageServices {
public:
    virtual ~PageServices() = default;

    virtual PageId AcquirePage(DocId doc, int page) = 0;
    virtual void ReleasePage(PageId page) = 0;

    // The visible area in unrotated page space; the media box when none is set.
    virtual Rect CropBox(PageId page) = 0;
    // Degrees clockwise: 0, 90, 180 or 270.
    virtual int Rotation(PageId page) = 0;
    virtual int AnnotationCount(PageId page) = 0;
    virtual AnnotationInfo Annotation(PageId page, int index) = 0;
    // Whether the page has a transition other than none.
    virtual bool HasTransition(PageId page) = 0;
    // Whether the page uses transparency: soft masks, constant alpha below 1,
    // blend modes other than Normal, transparency groups, on the page and in
    // what it draws (forms, images, patterns); with includeAnnotations, in the
    // appearances of its annotations as well.
    virtual bool HasTransparency(PageId page, bool includeAnnotations) = 0;
};

}  // namespace tessera::host
