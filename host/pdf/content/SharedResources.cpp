#include "pdf/content/SharedResources.h"

#include <qpdf/QPDFPageDocumentHelper.hh>

#include <deque>
#include <set>

namespace tessera::pdf {
namespace {

// True when `object` is indirect and was seen before.
bool SeenBefore(std::set<QPDFObjGen>& seen, const QPDFObjectHandle& object) {
    return object.isIndirect() && !seen.insert(object.getObjGen()).second;
}

}  // namespace

bool HasSharedResources(QPDF& pdf) {
    std::set<QPDFObjGen> resourcesSeen, nodesSeen;
    std::deque<QPDFObjectHandle> queue{pdf.getRoot().getKey("/Pages")};
    while (!queue.empty()) {
        QPDFObjectHandle node = queue.front();
        queue.pop_front();
        if (SeenBefore(nodesSeen, node)) continue;
        QPDFObjectHandle dict = node.isStream() ? node.getDict() : node;
        if (!dict.isDictionary()) continue;
        QPDFObjectHandle kids = dict.getKey("/Kids");
        if (kids.isArray()) {
            if (dict.hasKey("/Resources")) return true;
            for (auto& kid : kids.aitems()) queue.push_back(kid);
            continue;
        }
        QPDFObjectHandle resources = dict.getKey("/Resources");
        if (SeenBefore(resourcesSeen, resources)) return true;
        QPDFObjectHandle xobjects = resources.getKeyIfDict("/XObject");
        if (SeenBefore(resourcesSeen, xobjects)) return true;
        if (!xobjects.isDictionary()) continue;
        for (auto& [name, xobject] : xobjects.ditems())
            if (xobject.isFormXObject()) queue.push_back(xobject);
    }
    return false;
}

void PrepareSourceForCopy(QPDF& pdf) {
    if (HasSharedResources(pdf)) QPDFPageDocumentHelper(pdf).removeUnreferencedResources();
}

}  // namespace tessera::pdf
