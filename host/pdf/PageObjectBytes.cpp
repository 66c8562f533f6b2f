#include "pdf/PageObjectBytes.h"

#include <map>
#include <set>

#include "pdf/SharedResources.h"

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

class ObjectWalk {
public:
    // `bytes` keeps each object's bytes from page to page: fonts are met on many.
    ObjectWalk(QPDFObjGen page, std::map<QPDFObjGen, host::ObjectBytes>& bytes) : page_(page), bytes_(bytes) {}
    void From(QPDFObjectHandle object, int depth) {
        if (depth > kMaxObjectDepth) return;
        if (object.isIndirect()) {
            const QPDFObjGen id = object.getObjGen();
            if (!seen_.insert(id).second || (id != page_ && object.isPageObject())) return;
            auto [known, added] = bytes_.try_emplace(id);
            if (added) known->second = StoredBytes(object);
            found_.push_back(known->second);
        }
        if (object.isStream()) return From(object.getDict(), depth + 1);
        if (object.isDictionary()) {
            for (auto [key, value] : object.ditems())
                if (key != "/Parent") From(value, depth + 1);
        } else if (object.isArray()) {
            for (QPDFObjectHandle item : object.aitems()) From(item, depth + 1);
        }
    }
    std::vector<host::ObjectBytes> Found() && { return std::move(found_); }

private:
    QPDFObjGen page_;
    std::map<QPDFObjGen, host::ObjectBytes>& bytes_;
    std::set<QPDFObjGen> seen_;
    std::vector<host::ObjectBytes> found_;
};

}  // namespace

std::vector<std::vector<host::ObjectBytes>> PageObjectBytes(PdfDocument& doc) {
    if (!doc.preparedForCopy) {
        PrepareSourceForCopy(doc.Qpdf());
        doc.preparedForCopy = true;
    }
    std::vector<std::vector<host::ObjectBytes>> pages;
    std::map<QPDFObjGen, host::ObjectBytes> bytes;
    for (int i = 0; i < doc.PageCount(); ++i) {
        QPDFObjectHandle page = doc.Page(i);
        ObjectWalk walk(page.getObjGen(), bytes);
        walk.From(page, 0);
        pages.push_back(std::move(walk).Found());
    }
    return pages;
}

}  // namespace tessera::pdf
