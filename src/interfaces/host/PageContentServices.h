#pragma once
// Page content as a tree of elements ("PagePDEContent" acquires and releases
// it, "PDFEditRead" reads it). A content is parsed when acquired and lives
// until released; releasing it before its page is the caller's duty.
// Every operation raises HostError on failure; a content stream that cannot
// be parsed fails AcquireContent.
#include <cstdint>

#include "host/PageElementKind.h"
#include "host/PageServices.h"

namespace tessera::host {

using ContentId = std::uint32_t;

// An element list or an element of one content. The page's top-level list is
// {content, 0}; a container element is also the list of what it holds.
struct ElementRef {
    ContentId content = 0;
    std::uint32_t node = 0;
    bool IsNull() const { return content == 0; }
};

inline constexpr int kObjectTypeStream = 8;

// The client that acquires a content only to add to it: nothing is parsed,
// so its elements cannot be read, and a page whose content is damaged can
// still have something drawn behind or over it.
inline constexpr std::uint32_t kEditingClient = 0;
// The client that only asks whether a page draws anything besides images:
// parsing stops after the first such element, which the content then ends
// with. Most pages of a long document show text within their first bytes.
inline constexpr std::uint32_t kFirstMarkClient = 1;

// Where an image's data lives, for telling blank scans from real ones.
struct ImageStorage {
    bool isStoredObject = false;    // an XObject, not an inline image
    int objectType = 0;             // kObjectTypeStream for an XObject
    std::int64_t storedLength = 0;  // bytes of the stream as stored in the file
    std::int64_t dataLength = 0;    // bytes of the decoded image data
};

class PageContentServices {
public:
    virtual ~PageContentServices() = default;
    virtual ContentId AcquireContent(PageId page, std::uint32_t client) = 0;
    virtual void ReleaseContent(ContentId content) = 0;
};

class PageElementServices {
public:
    virtual ~PageElementServices() = default;
    virtual int ElementCount(ElementRef list) = 0;
    // The element at index of the list; a null ref when there is none.
    virtual ElementRef Element(ElementRef list, int index) = 0;
    virtual PageElementKind Type(ElementRef element) = 0;
    virtual ImageStorage Image(ElementRef element) = 0;
};

}  // namespace tessera::host
