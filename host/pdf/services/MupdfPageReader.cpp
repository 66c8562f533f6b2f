#include "pdf/services/MupdfPageReader.h"

#include <qpdf/QPDFWriter.hh>

#include <utility>

#include "pdf/file/QpdfGuard.h"
#include "pdf/text/PageCorrespondence.h"

namespace tessera::pdf {
namespace {

using ObjectId = MupdfDocument::ObjectId;

ObjectId IdOf(QPDFObjGen object) { return {object.getObj(), object.getGen()}; }

std::vector<ObjectId> PageObjects(PdfDocument& document) {
    if (document.TextReaderPages()) return *document.TextReaderPages();
    std::vector<ObjectId> pages;
    for (const QPDFObjectHandle& page : document.Pages()) pages.push_back(IdOf(page.getObjGen()));
    return pages;
}

// The document as qpdf reads it, written unencrypted to memory, and where
// each of its pages went: qpdf renumbers objects as it writes.
struct QpdfCopy {
    std::string bytes;
    std::vector<ObjectId> pages;
};

QpdfCopy WrittenByQpdf(PdfDocument& document) {
    return QpdfGuard([&] {
        QPDFWriter writer(document.Qpdf());
        writer.setOutputMemory();
        writer.setPreserveEncryption(false);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        QpdfCopy copy{std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize()), {}};
        for (const QPDFObjectHandle& page : document.Pages())
            copy.pages.push_back(IdOf(writer.getRenumberedObjGen(page.getObjGen())));
        return copy;
    });
}

// MuPDF's index of each wanted page, as MuPDF reads the page tree or, when
// that misses a page, by the tree's /Kids.
std::optional<std::vector<int>> MatchedPages(MupdfDocument& text, const std::vector<ObjectId>& wanted) {
    std::optional<std::vector<int>> pages = MatchPages(wanted, text.PageObjects());
    if (pages) return pages;
    text.RecountPageTree();
    return MatchPages(wanted, text.PageObjects());
}

}  // namespace

MupdfPageReader::MupdfPageReader(DocumentStore& store, host::DocId doc) : store_(store), doc_(doc) {
    PdfDocument& document = store_.Get(doc);
    if (document.Path().empty()) throw host::HostError(host::kErrorBadArgument, "a new document has no pages to read");
    wanted_ = PageObjects(document);
    try {
        text_ = document.TakeTextReader();
        if (!text_) text_ = std::make_unique<MupdfDocument>(document.Path(), document.Password());
    } catch (const host::HostError&) {
        MatchAllPages();  // qpdf has read the file, so its copy can be read
    }
}

void MupdfPageReader::CheckRange(int page) const {
    if (page < 0 || static_cast<std::size_t>(page) >= wanted_.size())
        throw host::HostError(host::kErrorPageRange, "page " + std::to_string(page + 1) + " is not in the document");
}

void MupdfPageReader::MatchAllPages() {
    if (text_ && (pages_ = MatchedPages(*text_, wanted_))) return;
    PdfDocument& document = store_.Get(doc_);
    QpdfCopy copy = WrittenByQpdf(document);
    text_ = std::make_unique<MupdfDocument>(std::move(copy.bytes));
    wanted_ = std::move(copy.pages);
    pages_ = MatchedPages(*text_, wanted_);
    if (!pages_)
        throw host::HostError(host::kErrorDamaged, "the text of " + document.Path() +
                                                       " cannot be searched: the text reader does not find the same "
                                                       "pages in it as the page reader");
}

}  // namespace tessera::pdf
