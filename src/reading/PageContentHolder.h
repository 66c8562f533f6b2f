#pragma once
// One acquired page of the source and, once something looks inside it, its
// content. The content is released before the page.
#include <string>

#include "access/OwnedId.h"
#include "host/PageContentServices.h"

namespace tessera {

class PageContentHolder {
public:
    PageContentHolder() = default;
    PageContentHolder(const PageContentHolder&) = delete;
    PageContentHolder& operator=(const PageContentHolder&) = delete;

    // Acquires page index of doc; on a host error the holder stays without a
    // page and keeps the error's text for the scan to report.
    bool Acquire(host::DocId doc, int index);
    bool HasPage() const { return static_cast<bool>(page_); }
    host::PageId Page() const { return page_.Get(); }

    // How much of the content a test needs read: all of it, or only as far as
    // the first element that is not an image (see host::kFirstMarkClient).
    enum class Reach { Whole, FirstMark };
    // The content's top-level element list, acquired on first use. A content
    // that cannot be read raises the host's error and is remembered as such.
    host::ElementRef Content(Reach reach = Reach::Whole);
    void ReleaseContent();
    // What went wrong acquiring the page or reading its content; empty when nothing did.
    const std::string& Failure() const { return failure_; }

private:
    OwnedPage page_;
    OwnedContent content_;  // after the page, so that it goes first
    Reach reach_ = Reach::Whole;
    std::string failure_;
};

// Releases the holder's content when a test on it ends, however it ends.
class ContentUse {
public:
    explicit ContentUse(PageContentHolder& holder) : holder_(holder) {}
    ~ContentUse();
    ContentUse(const ContentUse&) = delete;
    ContentUse& operator=(const ContentUse&) = delete;

private:
    PageContentHolder& holder_;
};

}  // namespace tessera
