#pragma once
// A page's content as a tree of elements: what the content stream draws,
// grouped by its marked-content sequences.
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>
#include <vector>

#include "host/PageContentServices.h"

namespace tessera::pdf {

struct ContentNode {
    host::PageElementKind type = host::PageElementKind::Container;
    std::vector<std::uint32_t> children;  // of a container
    host::ImageStorage image;             // of an image
};

class ContentTree {
public:
    // Parses every content stream of the page. HostError when qpdf cannot
    // parse it, or had to skip or repair anything in it: a page read only in
    // part must not pass for blank. With firstMarkOnly, parsing stops after
    // the first element that is not an image: what follows cannot make such
    // a page blank, nor would damage there.
    static ContentTree OfPage(QPDFObjectHandle page, bool firstMarkOnly = false);

    // Node 0 is the page's top-level list.
    const ContentNode& Node(std::uint32_t index) const { return nodes_.at(index); }
    std::size_t NodeCount() const { return nodes_.size(); }

    std::uint32_t Add(std::uint32_t parent, ContentNode node);

private:
    std::vector<ContentNode> nodes_{ContentNode{}};
};

}  // namespace tessera::pdf
