#include "pdf/store/PageAnnotations.h"

#include <map>
#include <vector>

namespace tessera::pdf {
namespace {

// A copied popup, parent or reply keeps pointing into the copied set.
void RelinkPopups(std::map<QPDFObjGen, QPDFObjectHandle>& copies) {
    for (auto& [old, copy] : copies) {
        for (const char* key : {"/Popup", "/Parent", "/IRT"}) {
            QPDFObjectHandle target = copy.getKey(key);
            if (!target.isIndirect()) continue;
            const auto it = copies.find(target.getObjGen());
            if (it != copies.end()) copy.replaceKey(key, it->second);
        }
    }
}

}  // namespace

void OwnAnnotations(QPDF& q, QPDFObjectHandle page, std::set<QPDFObjGen>& owned) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) return;
    std::vector<QPDFObjectHandle> items = annots.getArrayAsVector();
    std::map<QPDFObjGen, QPDFObjectHandle> copies;
    for (QPDFObjectHandle& a : items) {
        if (a.isIndirect() && !owned.insert(a.getObjGen()).second) {
            const QPDFObjGen old = a.getObjGen();
            a = q.makeIndirectObject(a.shallowCopy());
            owned.insert(a.getObjGen());
            copies[old] = a;
            QPDFObjectHandle kids = a.getKey("/Parent").getKeyIfDict("/Kids");
            if (a.getKey("/Subtype").isNameAndEquals("/Widget") && kids.isArray()) kids.appendItem(a);
        }
        if (a.isDictionary()) a.replaceKey("/P", page);
    }
    if (copies.empty()) return;
    RelinkPopups(copies);
    page.replaceKey("/Annots", QPDFObjectHandle::newArray(items));
}

}  // namespace tessera::pdf
