#include "pdf/writing/PageObjectBytes.h"

#include <map>

#include "pdf/content/SharedResources.h"

namespace tessera::pdf {
namespace {

constexpr int kMaxObjectDepth = 64;  // deeper nesting is not followed: an estimate needs no more

// A stream's dictionary is written out like any other object, and packed
// into an object stream with them; its data is kept as stored.
host::ObjectBytes StoredBytes(QPDFObjectHandle object) {
    host::ObjectBytes bytes{static_cast<std::uint32_t>(object.getObjectID()), 0, 0};
    if (!object.isStream()) {
        bytes.bytes = static_cast<std::uint32_t>(object.unparseResolved().size());
        return bytes;
    }
    QPDFObjectHandle dict = object.getDict();
    QPDFObjectHandle length = dict.getKey("/Length");
    bytes.bytes = static_cast<std::uint32_t>(dict.unparseResolved().size());
    bytes.data = static_cast<std::uint32_t>(length.isInteger() ? std::max(0LL, length.getIntValue()) : 0);
    return bytes;
}

// The document's indirect objects as a graph, each node with its bytes and
// the objects it refers to, read once: shared objects (fonts, with their
// long width arrays) are met on many pages, and walking their insides
// again on each took longer than reading the document.
class ObjectGraph {
public:
    std::uint32_t Node(QPDFObjectHandle object) {
        auto [known, added] = nodes_.try_emplace(object.getObjGen(), static_cast<std::uint32_t>(graph_.size()));
        if (added) graph_.push_back({object, StoredBytes(object), {}, object.isPageObject(), false});
        return known->second;
    }

    // Every object page `root` reaches, once each, itself first; other pages end a path.
    std::vector<host::ObjectBytes> Reached(std::uint32_t root) {
        ++walk_;
        seen_.resize(graph_.size(), 0);
        std::vector<host::ObjectBytes> found;
        std::vector<std::uint32_t> next{root};
        seen_[root] = walk_;
        while (!next.empty()) {
            const std::uint32_t node = next.back();
            next.pop_back();
            found.push_back(graph_[node].bytes);
            for (const std::uint32_t child : Children(node))
                if (seen_[child] != walk_ && !graph_[child].page) seen_[child] = walk_, next.push_back(child);
        }
        return found;
    }

private:
    struct Object {
        QPDFObjectHandle handle;
        host::ObjectBytes bytes;
        std::vector<std::uint32_t> children;
        bool page, read;
    };

    // Read when first walked through, so that no chain of references, however
    // long, nests calls.
    const std::vector<std::uint32_t>& Children(std::uint32_t node) {
        if (!graph_[node].read) {
            QPDFObjectHandle object = graph_[node].handle;
            std::vector<QPDFObjectHandle> refers;
            Refers(object.isStream() ? object.getDict() : object, 0, refers);
            std::vector<std::uint32_t> children;
            for (const QPDFObjectHandle& child : refers) children.push_back(Node(child));
            graph_[node].children = std::move(children);
            graph_[node].read = true;
            seen_.resize(graph_.size(), 0);
        }
        return graph_[node].children;
    }

    // The indirect objects `value` refers to, without going into them.
    static void Refers(QPDFObjectHandle value, int depth, std::vector<QPDFObjectHandle>& refers) {
        if (depth > kMaxObjectDepth) return;
        if (depth > 0 && value.isIndirect()) return refers.push_back(value);
        if (value.isDictionary()) {
            for (auto [key, item] : value.ditems())
                if (key != "/Parent") Refers(item, depth + 1, refers);
        } else if (value.isArray()) {
            for (const QPDFObjectHandle& item : value.aitems()) Refers(item, depth + 1, refers);
        }
    }

    std::map<QPDFObjGen, std::uint32_t> nodes_;
    std::vector<Object> graph_;
    std::vector<std::uint32_t> seen_;
    std::uint32_t walk_ = 0;
};

}  // namespace

std::vector<std::vector<host::ObjectBytes>> PageObjectBytes(PdfDocument& doc) {
    if (!doc.preparedForCopy) {
        PrepareSourceForCopy(doc.Qpdf());
        doc.preparedForCopy = true;
    }
    std::vector<std::vector<host::ObjectBytes>> pages;
    ObjectGraph graph;
    for (int i = 0; i < doc.PageCount(); ++i) pages.push_back(graph.Reached(graph.Node(doc.Page(i))));
    return pages;
}

}  // namespace tessera::pdf
