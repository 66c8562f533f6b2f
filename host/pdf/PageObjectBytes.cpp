#include "pdf/PageObjectBytes.h"

#include <map>
#include <set>

#include "pdf/SharedResources.h"

namespace tessera::pdf {
namespace {

constexpr int kMaxObjectDepth = 64;  // deeper nesting is not followed: an estimate needs no more

std::uint32_t StoredBytes(QPDFObjectHandle object) {
    if (!object.isStream()) return static_cast<std::uint32_t>(object.unparseResolved().size());
    QPDFObjectHandle dict = object.getDict();
    QPDFObjectHandle length = dict.getKey("/Length");
    const long long data = length.isInteger() ? length.getIntValue() : 0;
    return static_cast<std::uint32_t>(dict.unparseResolved().size() + static_cast<std::size_t>(std::max(0LL, data)));
}

class ObjectWalk {
public:
    // `bytes` keeps each object's bytes from page to page: fonts are met on many.
    ObjectWalk(QPDFObjGen page, std::map<QPDFObjGen, std::uint32_t>& bytes) : page_(page), bytes_(bytes) {}
    void From(QPDFObjectHandle object, int depth) {
        if (depth > kMaxObjectDepth) return;
        if (object.isIndirect()) {
            const QPDFObjGen id = object.getObjGen();
            if (!seen_.insert(id).second || (id != page_ && object.isPageObject())) return;
            auto [known, added] = bytes_.try_emplace(id, 0);
            if (added) known->second = StoredBytes(object);
            found_.push_back({static_cast<std::uint32_t>(id.getObj()), known->second});
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
    std::map<QPDFObjGen, std::uint32_t>& bytes_;
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
    std::map<QPDFObjGen, std::uint32_t> bytes;
    for (int i = 0; i < doc.PageCount(); ++i) {
        QPDFObjectHandle page = doc.Page(i);
        ObjectWalk walk(page.getObjGen(), bytes);
        walk.From(page, 0);
        pages.push_back(std::move(walk).Found());
    }
    return pages;
}

}  // namespace tessera::pdf
