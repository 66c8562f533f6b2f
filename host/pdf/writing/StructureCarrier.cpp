#include "pdf/writing/StructureCarrier.h"

#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "pdf/writing/ForeignValue.h"

namespace tessera::pdf {
namespace {

using Handle = QPDFObjectHandle;

// A /K holds one item or an array of them.
std::vector<Handle> Items(Handle k) {
    if (k.isArray()) return k.getArrayAsVector();
    if (k.isNull()) return {};
    return {k};
}

bool IsElement(Handle h) { return h.isIndirect() && h.isDictionary() && h.hasKey("/S"); }

Handle Resources(const Handle& page) { return QPDFPageObjectHelper(page).getAttribute("/Resources", false); }

// A number of the output's parent tree: the copy that carries it and the
// source's entry it stands for (an array of elements by MCID, or an element).
struct Numbered {
    Handle holder;
    const char* key;
    Handle entry;
};

class StructurePruner {
public:
    StructurePruner(PdfDocument& out, PdfDocument& source, Handle root)
        : out_(out), source_(source), root_(root), parentTree_(root.getKey("/ParentTree"), source.Qpdf()) {}

    void Run() {
        for (const Handle& page : out_.Qpdf().getAllPages()) Collect(page);
        if (order_.empty()) return;
        QPDF& q = out_.Qpdf();
        for (const Handle& e : order_) made_[e.getObjGen()] = q.makeIndirectObject(Handle::newDictionary());
        newRoot_ = q.makeIndirectObject(Handle::newDictionary());
        for (const Handle& e : order_) Fill(e, made_[e.getObjGen()]);
        FillRoot();
        q.getRoot().replaceKey("/StructTreeRoot", newRoot_);
    }

private:
    void Collect(Handle page) {
        const auto origin = out_.Origins().find(page.getObjGen());
        if (origin == out_.Origins().end() || origin->second.source != &source_) return;
        Handle sourcePage = source_.Page(origin->second.page);
        const bool first = pages_.try_emplace(sourcePage.getObjGen(), page).second;
        Number(page, sourcePage, "/StructParents", first);
        Handle annots = page.getKey("/Annots"), sourceAnnots = sourcePage.getKey("/Annots");
        if (annots.isArray() && sourceAnnots.isArray()) {
            // Copies keep their annotations in the source's order.
            const int n = std::min(annots.getArrayNItems(), sourceAnnots.getArrayNItems());
            for (int i = 0; i < n; ++i) {
                Handle copy = annots.getArrayItem(i), original = sourceAnnots.getArrayItem(i);
                if (first && original.isIndirect()) objects_.try_emplace(original.getObjGen(), copy);
                Number(copy, original, "/StructParent", first);
            }
        }
        if (first) CollectForms(page, sourcePage);
    }

    void CollectForms(const Handle& page, const Handle& sourcePage) {
        Handle forms = Resources(page).getKeyIfDict("/XObject");
        Handle sourceForms = Resources(sourcePage).getKeyIfDict("/XObject");
        if (!forms.isDictionary() || !sourceForms.isDictionary()) return;
        for (auto& [name, original] : sourceForms.ditems()) {
            Handle copy = forms.getKey(name);
            if (!original.isStream() || !copy.isStream() || !original.isIndirect()) continue;
            // A form several pages show is numbered once.
            if (objects_.try_emplace(original.getObjGen(), copy).second)
                Number(copy.getDict(), original.getDict(), "/StructParents", true);
        }
    }

    // Keeps the source entry behind the copy's number for renumbering, or
    // takes the number off where it leads nowhere in the output.
    void Number(Handle copy, Handle original, const char* key, bool first) {
        if (!copy.isDictionary()) return;
        Handle number = original.getKeyIfDict(key);
        Handle entry;
        if (first && number.isInteger() && parentTree_.findObject(number.getIntValue(), entry)) {
            numbered_.push_back({copy, key, entry});
            for (const Handle& item : Items(entry)) KeepWithAncestors(item);
        } else {
            copy.removeKey(key);
        }
    }

    void KeepWithAncestors(const Handle& element) {
        for (Handle e = element; IsElement(e) && kept_.insert(e.getObjGen()).second; e = e.getKey("/P"))
            order_.push_back(e);
    }

    Handle Mapped(const std::map<QPDFObjGen, Handle>& copies, const Handle& original) const {
        const auto found = original.isIndirect() ? copies.find(original.getObjGen()) : copies.end();
        return found == copies.end() ? Handle::newNull() : found->second;
    }
    Handle MadeOf(const Handle& element) const { return Mapped(made_, element); }

    void Fill(Handle original, Handle copy) {
        for (auto& [key, value] : original.ditems())
            if (key != "/P" && key != "/K" && key != "/Pg") copy.replaceKey(key, ForeignValue(out_.Qpdf(), value));
        Handle parent = MadeOf(original.getKey("/P"));
        copy.replaceKey("/P", parent.isNull() ? newRoot_ : parent);
        Handle page = Mapped(pages_, original.getKey("/Pg"));
        if (!page.isNull()) copy.replaceKey("/Pg", page);
        std::vector<Handle> kids;
        for (const Handle& kid : Items(original.getKey("/K")))
            if (std::optional<Handle> made = Kid(kid, page)) kids.push_back(*made);
        if (!kids.empty())
            copy.replaceKey("/K", original.getKey("/K").isArray() ? Handle::newArray(kids) : kids.front());
    }

    // A kid as the output holds it, or none where its content is elsewhere.
    std::optional<Handle> Kid(Handle kid, Handle page) const {
        // Even a number of the source's belongs to it: qpdf takes only new ones.
        if (kid.isInteger()) return page.isNull() ? std::nullopt : std::optional(Handle::newInteger(kid.getIntValue()));
        if (IsElement(kid)) {
            Handle made = MadeOf(kid);
            return made.isNull() ? std::nullopt : std::optional(made);
        }
        if (!kid.isDictionary()) return std::nullopt;
        if (kid.hasKey("/Pg")) page = Mapped(pages_, kid.getKey("/Pg"));
        Handle reference = Handle::newDictionary();
        if (kid.getKey("/Type").isNameAndEquals("/OBJR")) {
            Handle object = Mapped(objects_, kid.getKey("/Obj"));
            if (object.isNull()) return std::nullopt;
            reference.replaceKey("/Type", Handle::newName("/OBJR"));
            reference.replaceKey("/Obj", object);
        } else {
            if (page.isNull() || !kid.getKey("/MCID").isInteger()) return std::nullopt;
            reference.replaceKey("/Type", Handle::newName("/MCR"));
            reference.replaceKey("/MCID", Handle::newInteger(kid.getKey("/MCID").getIntValue()));
            if (kid.hasKey("/Stm")) {
                Handle stream = Mapped(objects_, kid.getKey("/Stm"));
                if (stream.isNull()) return std::nullopt;
                reference.replaceKey("/Stm", stream);
            }
        }
        if (!page.isNull()) reference.replaceKey("/Pg", page);
        return reference;
    }

    void FillRoot() {
        QPDF& q = out_.Qpdf();
        for (auto& [key, value] : root_.ditems())
            if (key != "/K" && key != "/ParentTree" && key != "/ParentTreeNextKey" && key != "/IDTree" &&
                key != "/RoleMap" && key != "/ClassMap")
                newRoot_.replaceKey(key, ForeignValue(q, value));
        newRoot_.replaceKey("/Type", Handle::newName("/StructTreeRoot"));
        std::vector<Handle> kids;
        for (const Handle& kid : Items(root_.getKey("/K")))
            if (Handle made = MadeOf(kid); !made.isNull()) kids.push_back(made);
        newRoot_.replaceKey("/K", Handle::newArray(kids));
        FillParentTree();
        FillIds();
        KeepUsed("/RoleMap", RolesUsed());
        KeepUsed("/ClassMap", ClassesUsed());
    }

    void FillParentTree() {
        std::vector<Handle> nums;
        long long next = 0;
        for (Numbered item : numbered_) {
            item.holder.replaceKey(item.key, Handle::newInteger(next));
            nums.push_back(Handle::newInteger(next++));
            if (!item.entry.isArray()) {
                nums.push_back(MadeOf(item.entry));
                continue;
            }
            std::vector<Handle> byMcid;
            for (const Handle& element : item.entry.aitems()) byMcid.push_back(MadeOf(element));
            nums.push_back(Handle::newArray(byMcid));
        }
        newRoot_.replaceKey("/ParentTree",
                            out_.Qpdf().makeIndirectObject(Handle::newDictionary({{"/Nums", Handle::newArray(nums)}})));
        newRoot_.replaceKey("/ParentTreeNextKey", Handle::newInteger(next));
    }

    void FillIds() {
        Handle ids = root_.getKey("/IDTree");
        if (!ids.isDictionary()) return;
        std::vector<Handle> names;
        for (auto& [id, element] : QPDFNameTreeObjectHelper(ids, source_.Qpdf()))
            if (Handle made = MadeOf(element); !made.isNull()) {
                names.push_back(Handle::newUnicodeString(id));
                names.push_back(made);
            }
        if (!names.empty())
            newRoot_.replaceKey("/IDTree", Handle::newDictionary({{"/Names", Handle::newArray(names)}}));
    }

    std::set<std::string> RolesUsed() {
        std::set<std::string> used;
        Handle roles = root_.getKey("/RoleMap");
        for (Handle e : order_)
            // A role leads to another role, and so on to a standard type.
            for (Handle type = e.getKey("/S"); type.isName() && used.insert(type.getName()).second;
                 type = roles.getKeyIfDict(type.getName())) {
            }
        return used;
    }

    std::set<std::string> ClassesUsed() {
        std::set<std::string> used;
        for (Handle e : order_)
            for (Handle c : Items(e.getKey("/C")))
                if (c.isName()) used.insert(c.getName());
        return used;
    }

    void KeepUsed(const char* key, const std::set<std::string>& used) {
        Handle map = root_.getKey(key);
        if (!map.isDictionary()) return;
        Handle kept = Handle::newDictionary();
        for (auto& [name, value] : map.ditems())
            if (used.count(name)) kept.replaceKey(name, ForeignValue(out_.Qpdf(), value));
        if (!kept.getKeys().empty()) newRoot_.replaceKey(key, kept);
    }

    PdfDocument& out_;
    PdfDocument& source_;
    Handle root_;
    QPDFNumberTreeObjectHelper parentTree_;
    Handle newRoot_;
    std::map<QPDFObjGen, Handle> pages_;    // source page -> the copy that is tagged
    std::map<QPDFObjGen, Handle> objects_;  // source annotation or form -> its copy
    std::vector<Numbered> numbered_;
    std::set<QPDFObjGen> kept_;
    std::vector<Handle> order_;  // kept elements, as found
    std::map<QPDFObjGen, Handle> made_;
};

}  // namespace

void CarryStructure(PdfDocument& out, PdfDocument& source) {
    Handle root = source.Qpdf().getRoot().getKey("/StructTreeRoot");
    if (!root.isDictionary() || !root.getKey("/ParentTree").isDictionary()) return;
    StructurePruner(out, source, root).Run();
}

void DropStructureNumbers(PdfDocument& out) {
    if (out.Qpdf().getRoot().hasKey("/StructTreeRoot")) return;
    for (Handle page : out.Qpdf().getAllPages()) {
        page.removeKey("/StructParents");
        Handle annots = page.getKey("/Annots");
        if (!annots.isArray()) continue;
        for (Handle annot : annots.aitems())
            if (annot.isDictionary()) annot.removeKey("/StructParent");
    }
}

}  // namespace tessera::pdf
