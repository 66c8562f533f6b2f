#include <qpdf/QPDFPageObjectHelper.hh>

#include "pdf/services/QpdfPageServices.h"

#include "pdf/content/TransparencyTest.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/writing/PageStubs.h"

namespace tessera::pdf {
namespace {

std::string NameWithoutSlash(QPDFObjectHandle name) { return name.isName() ? name.getName().substr(1) : std::string(); }

QPDFObjectHandle Annotations(QPDFObjectHandle page) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    return annots.isArray() ? annots : QPDFObjectHandle::newArray();
}

}  // namespace

host::PageId QpdfPageServices::AcquirePage(host::DocId doc, int page) {
    return QpdfGuard([&] {
        QPDFObjectHandle object = store_.Get(doc).Page(page);
        const host::PageId id = next_++;
        pages_[id] = {doc, object};
        return id;
    });
}

void QpdfPageServices::ReleasePage(host::PageId page) { pages_.erase(page); }

const QpdfPageServices::Acquired& QpdfPageServices::Find(host::PageId page) const {
    const auto it = pages_.find(page);
    if (it == pages_.end()) throw host::HostError(host::kErrorGeneral, "the page is not acquired");
    return it->second;
}

QPDFObjectHandle QpdfPageServices::PageObject(host::PageId page) const { return Find(page).object; }

QPDFObjectHandle QpdfPageServices::WholePage(host::PageId page) {
    const Acquired& acquired = Find(page);
    CopyStandIns(store_.Get(acquired.doc));
    return acquired.object;
}

host::DocId QpdfPageServices::DocumentOf(host::PageId page) const { return Find(page).doc; }

host::Rect QpdfPageServices::CropBox(host::PageId page) {
    return QpdfGuard([&] {
        const auto box = QPDFPageObjectHelper(PageObject(page)).getCropBox().getArrayAsRectangle();
        return host::Rect{box.llx, box.lly, box.urx, box.ury};
    });
}

int QpdfPageServices::Rotation(host::PageId page) {
    return QpdfGuard([&] {
        QPDFObjectHandle rotate = QPDFPageObjectHelper(PageObject(page)).getAttribute("/Rotate", false);
        if (!rotate.isInteger()) return 0;
        const long long degrees = ((rotate.getIntValue() % 360) + 360) % 360;
        // Viewers ignore a rotation that is not a multiple of 90.
        return degrees % 90 == 0 ? static_cast<int>(degrees) : 0;
    });
}

int QpdfPageServices::AnnotationCount(host::PageId page) {
    return QpdfGuard([&] { return Annotations(PageObject(page)).getArrayNItems(); });
}

host::AnnotationInfo QpdfPageServices::Annotation(host::PageId page, int index) {
    return QpdfGuard([&] {
        host::AnnotationInfo info;
        QPDFObjectHandle annot = Annotations(PageObject(page)).getArrayItem(index);
        if (!annot.isDictionary()) return info;
        info.valid = true;
        info.subtype = NameWithoutSlash(annot.getKey("/Subtype"));
        QPDFObjectHandle action = annot.getKey("/A");
        if (action.isDictionary()) {
            info.hasAction = true;
            info.actionSubtype = NameWithoutSlash(action.getKey("/S"));
        } else if (annot.hasKey("/Dest") && !annot.getKey("/Dest").isNull()) {
            info.hasAction = true;
            info.actionSubtype = "GoTo";
        }
        return info;
    });
}

bool QpdfPageServices::HasTransition(host::PageId page) {
    return QpdfGuard([&] { return PageObject(page).getKey("/Trans").isDictionary(); });
}

bool QpdfPageServices::HasTransparency(host::PageId page, bool includeAnnotations) {
    return QpdfGuard([&] { return UsesTransparency(WholePage(page), includeAnnotations); });
}

}  // namespace tessera::pdf
