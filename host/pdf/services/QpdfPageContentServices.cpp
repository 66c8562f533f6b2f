#include "pdf/services/QpdfPageContentServices.h"

#include "host/HostError.h"

namespace tessera::pdf {

host::ContentId QpdfPageContentServices::AcquireContent(host::PageId page, std::uint32_t client) {
    QPDFObjectHandle object = pages_.WholePage(page);
    const host::ContentId id = next_;
    if (client != host::kEditingClient) contents_.emplace(id, Read(page, object, client == host::kFirstMarkClient));
    ++next_;
    pagesOf_.emplace(id, object);
    return id;
}

// qpdf warns of damage only when it first reads an object: a page found
// damaged once is damaged for every later reader, whatever it was read for
// first, so that a scan in order and one spread over workers agree.
ContentTree QpdfPageContentServices::Read(host::PageId page, const QPDFObjectHandle& object, bool firstMarkOnly) {
    const std::pair<host::DocId, QPDFObjGen> key{pages_.DocumentOf(page), object.getObjGen()};
    if (const auto it = unreadable_.find(key); it != unreadable_.end()) throw it->second;
    try {
        return ContentTree::OfPage(object, firstMarkOnly);
    } catch (const host::HostError& error) {
        unreadable_.emplace(key, error);
        throw;
    }
}

void QpdfPageContentServices::ReleaseContent(host::ContentId content) {
    contents_.erase(content);
    pagesOf_.erase(content);
}

QPDFObjectHandle QpdfPageContentServices::PageOf(host::ContentId content) const {
    const auto it = pagesOf_.find(content);
    if (it == pagesOf_.end()) throw host::HostError(host::kErrorGeneral, "the page content is not acquired");
    return it->second;
}

const ContentNode& QpdfPageContentServices::Node(host::ElementRef ref) const {
    const auto it = contents_.find(ref.content);
    if (it == contents_.end() || ref.node >= it->second.NodeCount())
        throw host::HostError(host::kErrorGeneral, "the page content is not acquired");
    return it->second.Node(ref.node);
}

int QpdfPageContentServices::ElementCount(host::ElementRef list) {
    return static_cast<int>(Node(list).children.size());
}

host::ElementRef QpdfPageContentServices::Element(host::ElementRef list, int index) {
    const ContentNode& node = Node(list);
    if (index < 0 || static_cast<std::size_t>(index) >= node.children.size()) return {};
    return {list.content, node.children[static_cast<std::size_t>(index)]};
}

host::PageElementKind QpdfPageContentServices::Type(host::ElementRef element) { return Node(element).type; }

host::ImageStorage QpdfPageContentServices::Image(host::ElementRef element) {
    const ContentNode& node = Node(element);
    if (node.type != host::PageElementKind::Image)
        throw host::HostError(host::kErrorGeneral, "the element is not an image");
    return node.image;
}

}  // namespace tessera::pdf
