#include "pdf/services/QpdfLinkServices.h"

#include "host/HostError.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/store/ItemAction.h"

namespace tessera::pdf {
namespace {

QPDFObjectHandle AnnotationAt(QPDFObjectHandle page, int index) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    QPDFObjectHandle annot = annots.isArray() ? annots.getArrayItem(index) : QPDFObjectHandle::newNull();
    if (!annot.isDictionary()) throw host::HostError(host::kErrorBadArgument, "no annotation at that index");
    return annot;
}

}  // namespace

QPDFObjectHandle QpdfLinkServices::Annotation(host::PageId page, int index) const {
    return AnnotationAt(pages_.PageObject(page), index);
}

host::ActionRef QpdfLinkServices::LinkAction(host::PageId page, int index) {
    return QpdfGuard([&] {
        const host::DocId doc = pages_.DocumentOf(page);
        QPDFObjectHandle object = pages_.PageObject(page);
        QPDFObjectHandle own = AnnotationAt(object, index);
        const auto& origins = store_.Get(doc).Origins();
        const auto origin = object.isIndirect() ? origins.find(object.getObjGen()) : origins.end();
        if (origin == origins.end()) return ActionOfItem(store_, doc, own);
        // Annotations keep their order when a page is copied.
        QPDFObjectHandle sourceAnnots = origin->second.source->Page(origin->second.page).getKey("/Annots");
        QPDFObjectHandle source =
            sourceAnnots.isArray() ? sourceAnnots.getArrayItem(index) : QPDFObjectHandle::newNull();
        return source.isDictionary() ? ActionOfItem(store_, origin->second.sourceDoc, source)
                                     : ActionOfItem(store_, doc, own);
    });
}

void QpdfLinkServices::SetLinkAction(host::PageId page, int index, host::ActionRef action) {
    QpdfGuard([&] {
        if (action.doc != pages_.DocumentOf(page))
            throw host::HostError(host::kErrorBadArgument, "an action of another document");
        QPDFObjectHandle annot = Annotation(page, index);
        annot.removeKey("/Dest");
        annot.replaceKey("/A", store_.Resolve(action));
    });
}

void QpdfLinkServices::TakeOverLinks(host::DocId doc) { store_.Get(doc).linksTakenOver = true; }

}  // namespace tessera::pdf
