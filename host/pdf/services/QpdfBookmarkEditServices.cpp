#include "pdf/services/QpdfBookmarkEditServices.h"

#include "host/HostError.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/writing/OutlineCounts.h"
#include "pdf/writing/PageStubs.h"

namespace tessera::pdf {
namespace {

// The outline root made for a document without one joins the catalog with its first item.
void AttachRoot(QPDF& q, QPDFObjectHandle parent) {
    if (parent.getKey("/Type").isNameAndEquals("/Outlines") && !q.getRoot().getKey("/Outlines").isDictionary())
        q.getRoot().replaceKey("/Outlines", parent);
}

}  // namespace

host::BookmarkRef QpdfBookmarkEditServices::AddChild(host::BookmarkRef parent, const std::string& title) {
    return QpdfGuard([&] {
        QPDF& q = store_.Get(parent.doc).Qpdf();
        QPDFObjectHandle p = store_.Resolve(parent);
        if (!p.isDictionary() || !p.isIndirect()) throw host::HostError(host::kErrorBadArgument, "not a bookmark");
        AttachRoot(q, p);
        QPDFObjectHandle item = q.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(title));
        item.replaceKey("/Parent", p);
        QPDFObjectHandle last = p.getKey("/Last");
        if (last.isDictionary()) {
            last.replaceKey("/Next", item);
            item.replaceKey("/Prev", last);
        } else {
            p.replaceKey("/First", item);
        }
        p.replaceKey("/Last", item);
        return store_.RefTo(parent.doc, item);
    });
}

// Open items carry a positive /Count until saving sets the real numbers.
void QpdfBookmarkEditServices::SetOpen(host::BookmarkRef bookmark, bool open) {
    QpdfGuard([&] {
        QPDFObjectHandle item = store_.Resolve(bookmark);
        if (open)
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(1));
        else
            item.removeKey("/Count");
    });
}

void QpdfBookmarkEditServices::SetStyle(host::BookmarkRef bookmark, int style) {
    QpdfGuard([&] {
        QPDFObjectHandle item = store_.Resolve(bookmark);
        if (style & 3)
            item.replaceKey("/F", QPDFObjectHandle::newInteger(style & 3));
        else
            item.removeKey("/F");
    });
}

void QpdfBookmarkEditServices::SetColor(host::BookmarkRef bookmark, const host::RgbColor& c) {
    QpdfGuard([&] {
        store_.Resolve(bookmark).replaceKey(
            "/C", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
                      QPDFObjectHandle::newReal(c.red, 4, true), QPDFObjectHandle::newReal(c.green, 4, true),
                      QPDFObjectHandle::newReal(c.blue, 4, true)}));
    });
}

void QpdfBookmarkEditServices::SetAction(host::BookmarkRef bookmark, host::ActionRef action) {
    QpdfGuard([&] {
        if (action.doc != bookmark.doc) throw host::HostError(host::kErrorBadArgument, "an action of another document");
        QPDFObjectHandle item = store_.Resolve(bookmark);
        item.removeKey("/Dest");
        item.replaceKey("/A", store_.Resolve(action));
    });
}

bool QpdfBookmarkEditServices::ShareOutline(host::DocId doc, host::DocId from) {
    return QpdfGuard([&] {
        PdfDocument& out = store_.Get(doc);
        PdfDocument& shared = store_.Get(from);
        QPDFObjectHandle root = shared.Qpdf().getRoot().getKey("/Outlines");
        if (!MayStandIn(out, shared)) return false;
        // Once, as the plug-in has built it whole when it shares it.
        if (!shared.outlineCounted) RecountOutline(shared.Qpdf());
        shared.outlineCounted = true;
        if (root.isDictionary() && root.isIndirect())
            out.Qpdf().getRoot().replaceKey("/Outlines", StandInFor(out, shared, root.getObjGen()));
        return true;
    });
}

void QpdfBookmarkEditServices::ReplaceSharedAction(host::DocId doc, host::BookmarkRef item, host::ActionRef action) {
    QpdfGuard([&] {
        if (action.doc != doc) throw host::HostError(host::kErrorBadArgument, "an action of another document");
        PdfDocument& out = store_.Get(doc);
        QPDFObjectHandle object = store_.Resolve(action);
        if (!object.isIndirect()) object = out.Qpdf().makeIndirectObject(object);
        out.replacedActions[{&store_.Get(item.doc), store_.Resolve(item).getObjGen()}] = object;
    });
}

}  // namespace tessera::pdf
