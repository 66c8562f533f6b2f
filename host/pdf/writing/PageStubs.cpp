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

// Where an item sits in a dictionary or an array, to read or replace the
// item at the same place of another container of the same shape.
struct Place {
    const std::string* key;  // null in an array
    int index;

    QPDFObjectHandle In(QPDFObjectHandle container) const {
        return key ? container.getKey(*key) : container.getArrayItem(index);
    }
    void Put(QPDFObjectHandle container, const QPDFObjectHandle& item) const {
        if (key)
            container.replaceKey(*key, item);
        else
            container.setArrayItem(index, item);
    }
};

// Calls visit(item, place) for each item of a dictionary or an array.
template <class Visit>
void ForEachPlace(QPDFObjectHandle container, Visit visit) {
    if (container.isDictionary()) {
        for (const std::string& key : container.getKeys()) visit(container.getKey(key), Place{&key, 0});
    } else if (container.isArray()) {
        for (int i = 0; i < container.getArrayNItems(); ++i) visit(container.getArrayItem(i), Place{nullptr, i});
    }
}

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
    if (depth >= kDeepestWalk || !(value.isDictionary() || value.isArray())) return value;
    QPDFObjectHandle copy = value.shallowCopy();
    ForEachPlace(copy, [&](const QPDFObjectHandle& item, const Place& place) {
        place.Put(copy, WithPlaceholders(item, placeholders, depth + 1));
    });
    return copy;
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
void SwapPlaceholders(PdfDocument& out, PdfDocument& src, const Placeholders& placeholders, QPDFObjectHandle given,
                      QPDFObjectHandle copied, int depth) {
    if (given.isIndirect() || depth >= kDeepestWalk || given.isDictionary() != copied.isDictionary() ||
        given.isArray() != copied.isArray() || (given.isArray() && given.getArrayNItems() != copied.getArrayNItems()))
        return;
    ForEachPlace(given, [&](QPDFObjectHandle item, const Place& place) {
        const auto real = item.isIndirect() ? placeholders.end() : placeholders.find(item.getObjectPtr());
        if (real != placeholders.end())
            place.Put(copied, StandInFor(out, src, real->second));
        else
            SwapPlaceholders(out, src, placeholders, item, place.In(copied), depth + 1);
    });
}

// Points every reference to a stand-in inside `value` (its direct parts) at the copy.
void Repoint(QPDFObjectHandle value, const std::map<QPDFObjGen, QPDFObjectHandle>& copies, int depth) {
    if (value.isStream()) value = value.getDict();
    if (depth > kDeepestWalk + 1) return;
    ForEachPlace(value, [&](const QPDFObjectHandle& item, const Place& place) {
        if (!item.isIndirect()) return Repoint(item, copies, depth + 1);
        if (const auto copy = copies.find(item.getObjGen()); copy != copies.end()) place.Put(value, copy->second);
    });
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
    // The heavy entries as they are, and as they are given to qpdf's copy.
    QPDFObjectHandle real = QPDFObjectHandle::newDictionary();
    for (const char* key : kHeavyKeys)
        if (object.hasKey(key)) real.replaceKey(key, object.getKey(key));
    Placeholders placeholders;
    QPDFObjectHandle given = WithPlaceholders(real, placeholders, 0);
    const auto put = [&](QPDFObjectHandle entries) {
        for (const std::string& key : entries.getKeys()) object.replaceKey(key, entries.getKey(key));
    };
    try {
        put(given);
        InsertPageObject(out.Qpdf(), object, index);
    } catch (...) {
        put(real);
        throw;
    }
    put(real);
    SwapPlaceholders(out, src, placeholders, given, out.Qpdf().getAllPages()[static_cast<std::size_t>(index)], 0);
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
