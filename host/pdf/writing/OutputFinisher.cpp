#include "pdf/writing/OutputFinisher.h"

#include <map>
#include <set>
#include <vector>

#include "pdf/store/Destination.h"
#include "pdf/writing/MetadataCarrier.h"
#include "pdf/writing/OutlineCounts.h"
#include "pdf/writing/OutputPageLabels.h"
#include "pdf/writing/StructureCarrier.h"

namespace tessera::pdf {
namespace {

using PageList = std::vector<QPDFObjectHandle>;

// The host's half of link fixing; which side fixes links when is written
// down in host/LinkServices.h.
class LinkMender {
public:
    LinkMender(PdfDocument& out, const PageList& pages) : out_(out), pages_(pages) {
        for (QPDFObjectHandle page : pages) {
            outputPages_.insert(page.getObjGen());
            const auto origin = out.Origins().find(page.getObjGen());
            if (origin != out.Origins().end())
                firstCopy_.try_emplace({origin->second.source, origin->second.page}, page);
        }
    }

    void Run() {
        for (QPDFObjectHandle page : pages_) {
            const auto origin = out_.Origins().find(page.getObjGen());
            if (origin == out_.Origins().end()) continue;
            QPDFObjectHandle annots = page.getKey("/Annots");
            QPDFObjectHandle sourceAnnots = origin->second.source->Page(origin->second.page).getKey("/Annots");
            if (!annots.isArray() || !sourceAnnots.isArray()) continue;
            const int n = std::min(annots.getArrayNItems(), sourceAnnots.getArrayNItems());
            for (int i = 0; i < n; ++i)
                Mend(annots.getArrayItem(i), sourceAnnots.getArrayItem(i), *origin->second.source);
        }
    }

private:
    bool Works(QPDFObjectHandle dest) const {
        return dest.isArray() && dest.getArrayNItems() > 0 && dest.getArrayItem(0).isIndirect() &&
               outputPages_.count(dest.getArrayItem(0).getObjGen()) > 0;
    }

    void Mend(const QPDFObjectHandle& annot, const QPDFObjectHandle& sourceAnnot, PdfDocument& source) {
        QPDFObjectHandle dest = DestinationOf(annot);
        if (dest.isNull() || Works(dest)) return;
        auto sourceDest = ExplicitDestination(source, DestinationOf(sourceAnnot));
        const auto target = sourceDest ? source.PageIndexOf(sourceDest->getArrayItem(0)) : std::nullopt;
        if (!target) return;
        const auto copy = firstCopy_.find({&source, *target});
        if (copy == firstCopy_.end()) return;
        std::vector<QPDFObjectHandle> items{copy->second};
        for (int k = 1; k < sourceDest->getArrayNItems(); ++k)
            items.push_back(QPDFObjectHandle::parse(sourceDest->getArrayItem(k).unparse()));
        SetDestination(annot, QPDFObjectHandle::newArray(items));
    }

    static void SetDestination(QPDFObjectHandle annot, const QPDFObjectHandle& dest) {
        if (annot.hasKey("/Dest")) {
            annot.replaceKey("/Dest", dest);
            return;
        }
        QPDFObjectHandle action = annot.getKey("/A").shallowCopy();  // may be shared with other links
        action.replaceKey("/D", dest);
        annot.replaceKey("/A", action);
    }

    PdfDocument& out_;
    const PageList& pages_;
    std::set<QPDFObjGen> outputPages_;
    std::map<std::pair<PdfDocument*, int>, QPDFObjectHandle> firstCopy_;
};

class FormBuilder {
public:
    explicit FormBuilder(const PageList& pages) {
        for (QPDFObjectHandle page : pages)
            for (auto& a : page.getKey("/Annots").aitems())
                if (a.isIndirect() && a.getKeyIfDict("/Subtype").isNameAndEquals("/Widget"))
                    widgets_.push_back(a), widgetSet_.insert(a.getObjGen());
    }

    void Run(PdfDocument& out, PdfDocument& source) {
        QPDFObjectHandle sourceForm = source.Qpdf().getRoot().getKey("/AcroForm");
        if (!sourceForm.isDictionary() || widgets_.empty()) return;
        std::vector<QPDFObjectHandle> roots;
        std::set<QPDFObjGen> rootSet;
        for (QPDFObjectHandle node : widgets_) {
            std::set<QPDFObjGen> chain{node.getObjGen()};
            for (QPDFObjectHandle parent = node.getKey("/Parent");
                 parent.isDictionary() && parent.isIndirect() && chain.insert(parent.getObjGen()).second;
                 parent = node.getKey("/Parent")) {
                node = parent;
                if (fieldNodes_.insert(node.getObjGen()).second) fieldList_.push_back(node);
            }
            if (rootSet.insert(node.getObjGen()).second) roots.push_back(node);
        }
        for (const QPDFObjectHandle& field : fieldList_) KeepOutputKids(field);
        QPDFObjectHandle form = sourceForm.shallowCopy();
        form.removeKey("/Fields");
        form = out.Qpdf().copyForeignObject(source.Qpdf().makeIndirectObject(form));
        form.replaceKey("/Fields", QPDFObjectHandle::newArray(roots));
        out.Qpdf().getRoot().replaceKey("/AcroForm", form);
    }

private:
    void KeepOutputKids(QPDFObjectHandle field) {
        QPDFObjectHandle kids = field.getKey("/Kids");
        if (!kids.isArray()) return;
        std::vector<QPDFObjectHandle> kept;
        for (auto& kid : kids.aitems())
            if (kid.isIndirect() && (fieldNodes_.count(kid.getObjGen()) || widgetSet_.count(kid.getObjGen())))
                kept.push_back(kid);
        field.replaceKey("/Kids", QPDFObjectHandle::newArray(kept));
    }

    std::vector<QPDFObjectHandle> widgets_;
    std::set<QPDFObjGen> widgetSet_;
    std::set<QPDFObjGen> fieldNodes_;
    std::vector<QPDFObjectHandle> fieldList_;
};

}  // namespace

void FinishOutput(PdfDocument& out, bool deterministic) {
    if (out.Origins().empty()) return;
    const PageList pages = out.Qpdf().getAllPages();
    if (!out.linksTakenOver) LinkMender(out, pages).Run();
    FormBuilder(pages).Run(out, *out.Origins().begin()->second.source);
    CarryPageLabels(out);
    RecountOutline(out.Qpdf());
    DropStructureNumbers(out);
    UpdateMetadata(out, deterministic);
}

}  // namespace tessera::pdf
