#include "pdf/services/QpdfBookmarkServices.h"

#include "pdf/file/QpdfGuard.h"
#include "pdf/store/ItemAction.h"

namespace tessera::pdf {

host::BookmarkRef QpdfBookmarkServices::Root(host::DocId doc) {
    return QpdfGuard([&] {
        QPDFObjectHandle outlines = store_.Get(doc).Qpdf().getRoot().getKey("/Outlines");
        if (outlines.isDictionary()) return store_.RefTo(doc, outlines);
        // A document without an outline still has an (empty) root to walk,
        // which becomes the document's outline when an item is added to it.
        QPDF& q = store_.Get(doc).Qpdf();
        return store_.RefToMade({doc, 0}, "/Outlines", [&q] {
            return q.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
        });
    });
}

bool QpdfBookmarkServices::IsValid(host::BookmarkRef bookmark) {
    return QpdfGuard([&] { return store_.Resolve(bookmark).isDictionary(); });
}

host::BookmarkRef QpdfBookmarkServices::Link(host::BookmarkRef from, const char* key) {
    return QpdfGuard([&] {
        QPDFObjectHandle item = store_.Resolve(from);
        QPDFObjectHandle target = item.isDictionary() ? item.getKey(key) : QPDFObjectHandle::newNull();
        return target.isDictionary() ? store_.RefTo(from.doc, target) : host::BookmarkRef{from.doc, 0};
    });
}

host::BookmarkRef QpdfBookmarkServices::FirstChild(host::BookmarkRef bookmark) { return Link(bookmark, "/First"); }
host::BookmarkRef QpdfBookmarkServices::NextSibling(host::BookmarkRef bookmark) { return Link(bookmark, "/Next"); }
host::BookmarkRef QpdfBookmarkServices::Parent(host::BookmarkRef bookmark) { return Link(bookmark, "/Parent"); }

std::string QpdfBookmarkServices::Title(host::BookmarkRef bookmark) {
    return QpdfGuard([&] {
        QPDFObjectHandle title = store_.Resolve(bookmark).getKeyIfDict("/Title");
        return title.isString() ? title.getUTF8Value() : std::string();
    });
}

bool QpdfBookmarkServices::IsOpen(host::BookmarkRef bookmark) {
    return QpdfGuard([&] {
        QPDFObjectHandle count = store_.Resolve(bookmark).getKeyIfDict("/Count");
        return count.isInteger() && count.getIntValue() > 0;
    });
}

int QpdfBookmarkServices::Style(host::BookmarkRef bookmark) {
    return QpdfGuard([&] {
        QPDFObjectHandle flags = store_.Resolve(bookmark).getKeyIfDict("/F");
        return flags.isInteger() ? static_cast<int>(flags.getIntValue() & 3) : 0;
    });
}

std::optional<host::RgbColor> QpdfBookmarkServices::Color(host::BookmarkRef bookmark) {
    return QpdfGuard([&]() -> std::optional<host::RgbColor> {
        QPDFObjectHandle c = store_.Resolve(bookmark).getKeyIfDict("/C");
        if (!c.isArray() || c.getArrayNItems() != 3) return std::nullopt;
        double rgb[3];
        for (int i = 0; i < 3; ++i) {
            if (!c.getArrayItem(i).getValueAsNumber(rgb[i])) return std::nullopt;
        }
        return host::RgbColor{rgb[0], rgb[1], rgb[2]};
    });
}

host::ActionRef QpdfBookmarkServices::Action(host::BookmarkRef bookmark) {
    return QpdfGuard([&] { return ActionOfItem(store_, bookmark.doc, store_.Resolve(bookmark)); });
}

}  // namespace tessera::pdf
