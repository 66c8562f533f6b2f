#include "pdf/writing/ForeignValue.h"

#include <vector>

namespace tessera::pdf {
namespace {

// Values of attributes and configurations nest a few levels; deeper is damage.
constexpr int kDeepestValue = 64;

QPDFObjectHandle Carry(QPDF& out, QPDFObjectHandle value, int depth) {
    if (value.isIndirect()) return out.copyForeignObject(value);
    if (depth > kDeepestValue) return QPDFObjectHandle::newNull();
    if (value.isArray()) {
        std::vector<QPDFObjectHandle> items;
        for (QPDFObjectHandle& item : value.aitems()) items.push_back(Carry(out, item, depth + 1));
        return QPDFObjectHandle::newArray(items);
    }
    if (value.isDictionary()) {
        QPDFObjectHandle copy = QPDFObjectHandle::newDictionary();
        for (auto& [key, item] : value.ditems()) copy.replaceKey(key, Carry(out, item, depth + 1));
        return copy;
    }
    return QPDFObjectHandle::parse(value.unparse());
}

}  // namespace

QPDFObjectHandle ForeignValue(QPDF& out, const QPDFObjectHandle& value) { return Carry(out, value, 0); }

}  // namespace tessera::pdf
