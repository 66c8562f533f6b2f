#include "pdf/services/QpdfDocumentServices.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>

#include "pdf/content/NestingDepth.h"
#include "pdf/content/SharedResources.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/store/PageAnnotations.h"
#include "pdf/store/PageLabelText.h"
#include "pdf/writing/CarriedParts.h"
#include "pdf/writing/OutputWriter.h"
#include "pdf/writing/PageObjectBytes.h"
#include "pdf/writing/PageStubs.h"

namespace tessera::pdf {
namespace {

std::string Key(const std::string& name) { return "/" + name; }

QPDFObjectHandle InfoDictionary(QPDF& q, bool create) {
    QPDFObjectHandle info = q.getTrailer().getKey("/Info");
    if (!info.isDictionary() && create) {
        info = q.makeIndirectObject(QPDFObjectHandle::newDictionary());
        q.getTrailer().replaceKey("/Info", info);
    }
    return info;
}

// An /OpenAction into a page that did not come along would point at null.
bool LeadsToMissingPage(QPDFObjectHandle value) {
    QPDFObjectHandle dest = value;
    if (value.isDictionary()) dest = value.getKey("/D");
    return dest.isArray() && dest.getArrayNItems() > 0 && dest.getArrayItem(0).isNull();
}

// /MarkInfo says the file is tagged, which holds only with a structure tree:
// pages come without the source's.
bool ClaimsWhatIsNotCarried(QPDF& out, const std::string& key) {
    return key == "MarkInfo" && !out.getRoot().hasKey("/StructTreeRoot");
}

// A page already copied into `out` is given a page object of its own, made
// from the dictionary as first copied: qpdf would copy the earlier copy as it
// is now, watermark and all.
QPDFObjectHandle PageToInsert(PdfDocument& out, PdfDocument& src, int index) {
    QPDFObjectHandle page = src.Page(index);
    const auto first = out.firstCopies.find({&src, page.getObjGen()});
    return first == out.firstCopies.end() ? page : out.Qpdf().makeIndirectObject(first->second.shallowCopy());
}

int InsertionIndex(PdfDocument& doc, host::PagePosition position) {
    return position == host::PagePosition::BeforeFirst ? 0 : doc.PageCount();
}

// Checked before qpdf copies the page, which would overflow the stack.
void RefuseDeepNesting(const QPDFObjectHandle& object, std::set<QPDFObjGen>& seen, int page) {
    if (NestsTooDeep(object, seen))
        throw host::HostError(host::kErrorDamaged, "page " + std::to_string(page + 1) + " nests objects more than " +
                                                       std::to_string(kDeepestNesting) +
                                                       " levels deep, too deep to copy");
}

// A page nested too deep is refused whichever way it is copied, so that no
// option makes a page that is refused with another go through.
void InsertOne(PdfDocument& out, PdfDocument& src, int page, int index, bool standIns) {
    RefuseDeepNesting(src.Page(page), src.nestingMeasured, page);
    if (standIns && !out.firstCopies.count({&src, src.Page(page).getObjGen()}))
        InsertWithStandIns(out, src, page, index);
    else
        InsertPageObject(out.Qpdf(), PageToInsert(out, src, page), index);
}

}  // namespace

host::DocId QpdfDocumentServices::NewDocument() { return store_.CreateEmpty(); }

void QpdfDocumentServices::CloseDocument(host::DocId doc) { store_.Close(doc); }

int QpdfDocumentServices::PageCount(host::DocId doc) {
    return QpdfGuard([&] { return store_.Get(doc).PageCount(); });
}

std::uint32_t QpdfDocumentServices::Flags(host::DocId doc) { return store_.Get(doc).flags; }

void QpdfDocumentServices::SetFlags(host::DocId doc, std::uint32_t flags) { store_.Get(doc).flags = flags; }

std::string QpdfDocumentServices::FilePath(host::DocId doc) { return store_.Get(doc).Path(); }

std::optional<host::Permissions> QpdfDocumentServices::SecurityPermissions(host::DocId doc) {
    return store_.Get(doc).securityPermissions;
}

std::string QpdfDocumentServices::InfoValue(host::DocId doc, const std::string& key) {
    return QpdfGuard([&] {
        QPDFObjectHandle value = InfoDictionary(store_.Get(doc).Qpdf(), false).getKeyIfDict(Key(key));
        return value.isString() ? value.getUTF8Value() : std::string();
    });
}

void QpdfDocumentServices::SetInfoValue(host::DocId doc, const std::string& key, const std::string& value) {
    QpdfGuard([&] {
        InfoDictionary(store_.Get(doc).Qpdf(), true).replaceKey(Key(key), QPDFObjectHandle::newUnicodeString(value));
    });
}

bool QpdfDocumentServices::HasCatalogEntry(host::DocId doc, const std::string& key) {
    return QpdfGuard([&] {
        PdfDocument& d = store_.Get(doc);
        return HasCarriedPart(d, key).value_or(!d.Qpdf().getRoot().getKey(Key(key)).isNull());
    });
}

void QpdfDocumentServices::CopyCatalogEntry(host::DocId to, host::DocId from, const std::string& key) {
    QpdfGuard([&] {
        if (CarryPart(store_.Get(to), store_.Get(from), key)) return;
        QPDF& src = store_.Get(from).Qpdf();
        QPDF& out = store_.Get(to).Qpdf();
        QPDFObjectHandle value = src.getRoot().getKey(Key(key));
        if (value.isNull() || ClaimsWhatIsNotCarried(out, key)) return;
        QPDFObjectHandle copy;
        if (value.isScalar()) {
            copy = QPDFObjectHandle::parse(value.unparse());
        } else {
            // qpdf copies only indirect objects across documents.
            QPDFObjectHandle indirect = value.isIndirect() ? value : src.makeIndirectObject(value.shallowCopy());
            copy = out.copyForeignObject(indirect);
        }
        if (key == "OpenAction" && LeadsToMissingPage(copy)) return;
        out.getRoot().replaceKey(Key(key), copy);
    });
}

std::string QpdfDocumentServices::DroppedClaims(host::DocId doc) { return store_.Get(doc).droppedClaims; }

std::string QpdfDocumentServices::PageLabel(host::DocId doc, int page) {
    return QpdfGuard([&] {
        QPDFPageLabelDocumentHelper labels(store_.Get(doc).Qpdf());
        if (!labels.hasPageLabels()) return std::string();
        return PageLabelText(labels.getLabelForPage(page));
    });
}

void QpdfDocumentServices::RemovePageLabels(host::DocId doc) {
    QpdfGuard([&] {
        PdfDocument& d = store_.Get(doc);
        d.pageLabelsRemoved = true;
        d.Qpdf().getRoot().removeKey("/PageLabels");
    });
}

host::Rect QpdfDocumentServices::MediaBox(host::DocId doc, int page) {
    return QpdfGuard([&] {
        const auto box = QPDFPageObjectHelper(store_.Get(doc).Page(page)).getMediaBox().getArrayAsRectangle();
        return host::Rect{box.llx, box.lly, box.urx, box.ury};
    });
}

void QpdfDocumentServices::CreatePage(host::DocId doc, host::PagePosition position, const host::Rect& box) {
    QpdfGuard([&] {
        PdfDocument& d = store_.Get(doc);
        QPDF& q = d.Qpdf();
        QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        page.replaceKey("/MediaBox", QPDFObjectHandle::newFromRectangle({box.left, box.bottom, box.right, box.top}));
        page.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&q, ""));
        InsertPageObject(q, q.makeIndirectObject(page), InsertionIndex(d, position));
        d.PagesChanged();
    });
}

void QpdfDocumentServices::DeletePage(host::DocId doc, int page) {
    QpdfGuard([&] {
        PdfDocument& d = store_.Get(doc);
        d.Qpdf().removePage(d.Page(page));
        d.PagesChanged();
    });
}

void QpdfDocumentServices::InsertPages(host::DocId to, host::PagePosition position, host::DocId from, int firstPage,
                                       int count) {
    QpdfGuard([&] {
        PdfDocument& out = store_.Get(to);
        PdfDocument& src = store_.Get(from);
        const int available = src.PageCount();
        if (firstPage < 0 || firstPage >= available) src.Page(firstPage);  // raises the out-of-range error
        count = std::min(count, available - firstPage);
        if (!src.preparedForCopy) {
            PrepareSourceForCopy(src.Qpdf());
            src.preparedForCopy = true;
        }
        const int index = InsertionIndex(out, position);
        const bool standIns = MayStandIn(out, src);
        if (!standIns) CopyStandIns(out);
        for (int k = 0; k < count; ++k) {
            InsertOne(out, src, firstPage + k, index + k, standIns);
            QPDFObjectHandle added =
                out.Qpdf().getAllPages()[static_cast<std::size_t>(index) + static_cast<std::size_t>(k)];
            out.firstCopies.try_emplace({&src, src.Page(firstPage + k).getObjGen()}, added.shallowCopy());
            out.RecordOrigin(added.getObjGen(), {&src, from, firstPage + k});
            OwnAnnotations(out.Qpdf(), added, out.ownedAnnotations);
        }
        out.PagesChanged();
    });
}

void QpdfDocumentServices::SetSecurity(host::DocId doc, const host::SecurityRecord& security) {
    store_.Get(doc).security = security;
}

std::vector<std::vector<host::ObjectBytes>> QpdfDocumentServices::PageObjectBytes(host::DocId doc) {
    return QpdfGuard([&] { return pdf::PageObjectBytes(store_.Get(doc)); });
}

std::uint64_t QpdfDocumentServices::SavedSize(host::DocId doc, std::uint16_t saveFlags, std::string* file) {
    return QpdfGuard([&] { return MeasureOutput(store_.Get(doc), saveFlags, file); });
}

void QpdfDocumentServices::Save(host::DocId doc, const std::string& path, std::uint16_t saveFlags,
                                host::ProgressMonitor* /*monitor*/, std::uint64_t maxBytes) {
    RefuseInput(path);
    QpdfGuard([&] { WriteOutput(store_.Get(doc), path, saveFlags, maxBytes); });
}

void QpdfDocumentServices::SaveFile(const std::string& file, const std::string& path, std::uint64_t maxBytes,
                                    const std::vector<int>& pages) {
    RefuseInput(path);
    WriteFile(file, path, maxBytes, pages);
}

void QpdfDocumentServices::RefuseInput(const std::string& path) {
    if (store_.IsInputFile(path))
        throw host::HostError(host::kErrorFile, "will not write over an input of this run: " + path);
}

}  // namespace tessera::pdf
