#include "pdf/writing/PageStubs.h"

#include <qpdf/QPDF.hh>

#include <cstdlib>

#include "host/HostError.h"
#include "pdf/content/NestingDepth.h"

namespace tessera::pdf {
namespace {

// The page's entries that hold what weighs; annotations stay real objects,
// as links and forms are mended on them in the output.
constexpr const char* kHeavyKeys[] = {"/Resources", "/Contents", "/Thumb"};
// Direct dictionaries and arrays this deep are copied as they are.
constexpr int kDeepestWalk = 8;

// Source objects by the direct placeholders put where they were referred to.
using Placeholders = std::map<const QPDFObject*, QPDFObjGen>;

// `value` with each indirect object in it replaced by a direct placeholder.
// Pages and the page tree are left to qpdf's copy, which keeps a page of the
// output and drops any other. No object is made in the source: making one
// makes qpdf read the whole file first.
QPDFObjectHandle WithPlaceholders(QPDFObjectHandle value, Placeholders& placeholders, int depth) {
    if (value.isIndirect()) {
        if (value.isNull() || value.isPageObject() || value.isPagesObject()) return value;
        QPDFObjectHandle placeholder = QPDFObjectHandle::newDictionary();
        placeholders[placeholder.getObjectPtr()] = value.getObjGen();
        return placeholder;
    }
    if (depth >= kDeepestWalk) return value;
    if (value.isDictionary()) {
        QPDFObjectHandle copy = QPDFObjectHandle::newDictionary();
        for (const std::string& key : value.getKeys())
            copy.replaceKey(key, WithPlaceholders(value.getKey(key), placeholders, depth + 1));
        return copy;
    }
    if (value.isArray()) {
        QPDFObjectHandle copy = QPDFObjectHandle::newArray();
        for (const QPDFObjectHandle& item : value.aitems())
            copy.appendItem(WithPlaceholders(item, placeholders, depth + 1));
        return copy;
    }
    return value;
}

}  // namespace

QPDFObjectHandle StandInFor(PdfDocument& out, PdfDocument& src, QPDFObjGen real) {
    auto [known, added] = out.standInOf.try_emplace({&src, real});
    if (added) {
        known->second = out.Qpdf().makeIndirectObject(QPDFObjectHandle::newDictionary());
        out.standIns[known->second.getObjGen()] = {&src, real};
    }
    return known->second;
}

namespace {

// Walks what was given to qpdf's copy beside what it made of it, and puts
// the output's stand-in where the copy holds a placeholder.
class PlaceholderSwap {
public:
    PlaceholderSwap(PdfDocument& out, PdfDocument& src, const Placeholders& placeholders)
        : out_(out), src_(src), placeholders_(placeholders) {}

    // The stand-in for `given` if it is a placeholder, else null.
    QPDFObjectHandle ReplacementOf(QPDFObjectHandle given) {
        if (given.isIndirect()) return QPDFObjectHandle::newNull();
        const auto real = placeholders_.find(given.getObjectPtr());
        return real == placeholders_.end() ? QPDFObjectHandle::newNull() : StandInFor(out_, src_, real->second);
    }

    void Swap(QPDFObjectHandle given, QPDFObjectHandle copied, int depth) {
        if (given.isIndirect() || depth >= kDeepestWalk) return;
        if (given.isDictionary() && copied.isDictionary()) {
            for (const std::string& key : given.getKeys()) {
                QPDFObjectHandle item = given.getKey(key);
                if (QPDFObjectHandle standIn = ReplacementOf(item); !standIn.isNull())
                    copied.replaceKey(key, standIn);
                else
                    Swap(item, copied.getKey(key), depth + 1);
            }
        } else if (given.isArray() && copied.isArray() && given.getArrayNItems() == copied.getArrayNItems()) {
            for (int i = 0; i < given.getArrayNItems(); ++i) {
                QPDFObjectHandle item = given.getArrayItem(i);
                if (QPDFObjectHandle standIn = ReplacementOf(item); !standIn.isNull())
                    copied.setArrayItem(i, standIn);
                else
                    Swap(item, copied.getArrayItem(i), depth + 1);
            }
        }
    }

private:
    PdfDocument& out_;
    PdfDocument& src_;
    const Placeholders& placeholders_;
};

// Points every reference to a stand-in inside `value` (its direct parts) at the copy.
void Repoint(QPDFObjectHandle value, const std::map<QPDFObjGen, QPDFObjectHandle>& copies, int depth) {
    if (value.isStream()) value = value.getDict();
    const auto copyOf = [&](const QPDFObjectHandle& item) -> const QPDFObjectHandle* {
        if (!item.isIndirect()) return nullptr;
        const auto copy = copies.find(item.getObjGen());
        return copy == copies.end() ? nullptr : &copy->second;
    };
    if (depth > kDeepestWalk + 1) return;
    if (value.isDictionary()) {
        for (const std::string& key : value.getKeys()) {
            QPDFObjectHandle item = value.getKey(key);
            if (const QPDFObjectHandle* copy = copyOf(item))
                value.replaceKey(key, *copy);
            else if (!item.isIndirect())
                Repoint(item, copies, depth + 1);
        }
    } else if (value.isArray()) {
        for (int i = 0; i < value.getArrayNItems(); ++i) {
            QPDFObjectHandle item = value.getArrayItem(i);
            if (const QPDFObjectHandle* copy = copyOf(item))
                value.setArrayItem(i, *copy);
            else if (!item.isIndirect())
                Repoint(item, copies, depth + 1);
        }
    }
}

}  // namespace

void InsertPageObject(QPDF& q, const QPDFObjectHandle& page, int index) {
    const auto& pages = q.getAllPages();
    if (static_cast<std::size_t>(index) >= pages.size())
        q.addPage(page, false);
    else
        q.addPageAt(page, true, pages[static_cast<std::size_t>(index)]);
}

bool MayStandIn(PdfDocument& out, PdfDocument& src) {
    // The knob compares the two ways of writing an output in tests.
    if (out.standInsCopied || std::getenv("TESSERA_COPY_PAGES_WHOLE")) return false;
    QPDFObjectHandle root = src.Qpdf().getRoot();
    return !root.hasKey("/StructTreeRoot") && !root.hasKey("/OCProperties");
}

void InsertWithStandIns(PdfDocument& out, PdfDocument& src, int page, int index) {
    QPDFObjectHandle object = src.Page(page);
    Placeholders placeholders;
    std::vector<std::pair<std::string, QPDFObjectHandle>> real, given;
    for (const char* key : kHeavyKeys) {
        if (!object.hasKey(key)) continue;
        real.emplace_back(key, object.getKey(key));
        given.emplace_back(key, WithPlaceholders(real.back().second, placeholders, 0));
    }
    const auto restore = [&] {
        for (auto& [key, value] : real) object.replaceKey(key, value);
    };
    try {
        for (auto& [key, value] : given) object.replaceKey(key, value);
        InsertPageObject(out.Qpdf(), object, index);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    QPDFObjectHandle added = out.Qpdf().getAllPages()[static_cast<std::size_t>(index)];
    PlaceholderSwap swap(out, src, placeholders);
    for (auto& [key, value] : given) {
        if (QPDFObjectHandle standIn = swap.ReplacementOf(value); !standIn.isNull())
            added.replaceKey(key, standIn);
        else
            swap.Swap(value, added.getKey(key), 0);
    }
}

void CopyStandIns(PdfDocument& out) {
    out.standInsCopied = true;
    if (out.standIns.empty()) return;
    std::map<QPDFObjGen, QPDFObjectHandle> copies;
    for (const auto& [standIn, real] : out.standIns) {
        QPDFObjectHandle object = real.source->Qpdf().getObject(real.object);
        // qpdf's copy recurses: what nests deeper would end the program.
        if (NestsTooDeep(object, real.source->nestingMeasured))
            throw host::HostError(host::kErrorDamaged, "an object of its pages nests more than " +
                                                           std::to_string(kDeepestNesting) +
                                                           " levels deep, too deep to copy");
        copies[standIn] = out.Qpdf().copyForeignObject(object);
    }
    for (const QPDFObjectHandle& object : out.Qpdf().getAllObjects()) Repoint(object, copies, 0);
    for (auto& [source, page] : out.firstCopies) Repoint(page, copies, 0);
    // qpdf's copy of an object already copied is that copy.
    for (auto& [item, action] : out.replacedActions)
        out.Qpdf().copyForeignObject(item.first->Qpdf().getObject(item.second)).replaceKey("/A", action);
    out.replacedActions.clear();
    out.standIns.clear();
    out.standInOf.clear();
}

}  // namespace tessera::pdf
