#include "pdf/content/NestingDepth.h"

#include <vector>

namespace tessera::pdf {
namespace {

bool IsContainer(QPDFObjectHandle object) { return object.isArray() || object.isDictionary() || object.isStream(); }

// The containers right inside one, in the order qpdf's copy takes them.
std::vector<QPDFObjectHandle> Inner(QPDFObjectHandle object) {
    std::vector<QPDFObjectHandle> inner;
    if (object.isStream()) object = object.getDict();
    if (object.isArray()) {
        for (const QPDFObjectHandle& item : object.aitems())
            if (IsContainer(item)) inner.push_back(item);
    } else {
        for (auto& [key, value] : object.ditems())
            if (IsContainer(value)) inner.push_back(value);
    }
    return inner;
}

// Whether the walk goes into `object`: not into another page or the page
// tree, which a copy never crosses into, nor twice into one indirect object.
bool Enters(QPDFObjectHandle object, std::set<QPDFObjGen>& seen) {
    if (object.isPageObject() || object.isPagesObject()) return false;
    return !object.isIndirect() || seen.insert(object.getObjGen()).second;
}

}  // namespace

// An explicit stack: the depth to be measured is the one recursion cannot take.
bool NestsTooDeep(const QPDFObjectHandle& page, std::set<QPDFObjGen>& seen, std::size_t limit) {
    struct Frame {
        std::vector<QPDFObjectHandle> inner;
        std::size_t next = 0;
    };
    if (page.isIndirect() && !seen.insert(page.getObjGen()).second) return false;
    std::vector<Frame> stack{{Inner(page)}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.inner.size()) {
            stack.pop_back();
            continue;
        }
        QPDFObjectHandle object = frame.inner[frame.next++];
        if (!Enters(object, seen)) continue;
        if (stack.size() >= limit) return true;
        stack.push_back({Inner(object)});
    }
    return false;
}

}  // namespace tessera::pdf
