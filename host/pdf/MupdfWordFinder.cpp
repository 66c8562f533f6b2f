#include "pdf/MupdfWordFinder.h"

#include <qpdf/QPDFWriter.hh>

#include <utility>

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "pdf/PageCorrespondence.h"
#include "pdf/PageWords.h"
#include "pdf/QpdfGuard.h"

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
std::optional<std::vector<int>> Matched(MupdfDocument& text, const std::vector<ObjectId>& wanted) {
    std::optional<std::vector<int>> pages = MatchPages(wanted, text.PageObjects());
    if (pages) return pages;
    text.RecountPageTree();
    return MatchPages(wanted, text.PageObjects());
}

}  // namespace

host::WordFinderId MupdfWordFinder::CreateWordFinder(host::DocId doc, unsigned threads) {
    PdfDocument& document = store_.Get(doc);
    if (document.Path().empty()) throw host::HostError(host::kErrorBadArgument, "a new document has no text to find");
    Finder finder;
    finder.doc = doc;
    finder.wanted = PageObjects(document);
    finder.threads = threads == 0 ? cores_ : std::min(threads, cores_);
    try {
        finder.text = document.TakeTextReader();
        if (!finder.text) finder.text = std::make_unique<MupdfDocument>(document.Path(), document.Password());
    } catch (const host::HostError&) {
        MatchAllPages(finder);  // qpdf has read the file, so its copy can be read
    }
    finders_[next_] = std::move(finder);
    return next_++;
}

void MupdfWordFinder::DestroyWordFinder(host::WordFinderId finder) { finders_.erase(finder); }

MupdfWordFinder::Finder& MupdfWordFinder::Get(host::WordFinderId finder) {
    const auto it = finders_.find(finder);
    if (it == finders_.end()) throw host::HostError(host::kErrorBadArgument, "no such word finder");
    return it->second;
}

void MupdfWordFinder::MatchAllPages(Finder& finder) {
    finder.ahead.reset();  // from now on pages are looked for by object
    if (finder.text && (finder.pages = Matched(*finder.text, finder.wanted))) return;
    PdfDocument& document = store_.Get(finder.doc);
    QpdfCopy copy = WrittenByQpdf(document);
    finder.text = std::make_unique<MupdfDocument>(std::move(copy.bytes));
    finder.wanted = std::move(copy.pages);
    finder.pages = Matched(*finder.text, finder.wanted);
    if (!finder.pages)
        throw host::HostError(host::kErrorDamaged, "the text of " + document.Path() +
                                                       " cannot be searched: the text reader does not find the same "
                                                       "pages in it as the page reader");
}

std::optional<std::vector<host::PageWord>> MupdfWordFinder::ReadAhead(Finder& finder, int page) {
    const bool scanning = page == std::exchange(finder.lastAsked, page) + 1;
    // A worker process has a core of its own and no other to read ahead on.
    if (!finder.ahead && scanning && !finder.pages && finder.threads > 1 && !app::IsWorker()) {
        const PdfDocument& document = store_.Get(finder.doc);
        finder.ahead = std::make_unique<WordsReadAhead>(document.Path(), document.Password(), finder.wanted, page,
                                                        finder.threads - 1);
    }
    return finder.ahead ? finder.ahead->Take(page, *finder.text) : std::nullopt;
}

// Pages are found as the words' pages are, without the threads reading ahead.
template <class Read>
auto MupdfWordFinder::OnPage(host::WordFinderId id, int page, Read read) {
    Finder& finder = Get(id);
    if (page < 0 || static_cast<std::size_t>(page) >= finder.wanted.size())
        throw host::HostError(host::kErrorPageRange, "page " + std::to_string(page + 1) + " is not in the document");
    const std::size_t p = static_cast<std::size_t>(page);
    ObjectId loaded;
    if (!finder.pages) {
        try {
            auto value = read(*finder.text, page, loaded);
            if (loaded == finder.wanted[p]) return value;
        } catch (const host::HostError&) {
            if (loaded == finder.wanted[p]) throw;  // the right page, which cannot be drawn
        }
        MatchAllPages(finder);
    }
    auto value = read(*finder.text, (*finder.pages)[p], loaded);
    if (loaded != finder.wanted[p])
        throw host::HostError(host::kErrorDamaged, "the page reader did not find page " + std::to_string(page + 1));
    return value;
}

host::PageCodeSet MupdfWordFinder::PageCodes(host::WordFinderId id, int page, unsigned kinds) {
    return OnPage(id, page, [=](MupdfDocument& text, int index, ObjectId& loaded) {
        return text.PageCodes(index, page, loaded, kinds);
    });
}

std::uint32_t MupdfWordFinder::PageColour(host::WordFinderId id, int page) {
    return OnPage(id, page, [=](MupdfDocument& text, int index, ObjectId& loaded) {
        return text.MedianColour(index, page, loaded);
    });
}

double MupdfWordFinder::PageColourShare(host::WordFinderId id, int page, std::uint32_t rgb, int tolerance) {
    return OnPage(id, page, [=](MupdfDocument& text, int index, ObjectId& loaded) {
        return text.ColourShare(index, page, loaded, rgb, tolerance);
    });
}

std::vector<host::PageWord> MupdfWordFinder::PageWords(host::WordFinderId id, int page) {
    Finder& finder = Get(id);
    if (page < 0 || static_cast<std::size_t>(page) >= finder.wanted.size())
        throw host::HostError(host::kErrorPageRange, "page " + std::to_string(page + 1) + " is not in the document");
    if (std::optional<std::vector<host::PageWord>> words = ReadAhead(finder, page)) return std::move(*words);
    const std::size_t p = static_cast<std::size_t>(page);
    ObjectId loaded;
    if (!finder.pages) {
        try {
            const MupdfDocument::Text text = finder.text->PageText(page, page, loaded);
            if (loaded == finder.wanted[p]) return pdf::PageWords(*text);
        } catch (const host::HostError&) {
            if (loaded == finder.wanted[p]) throw;  // the right page, whose text is damaged
        }
        MatchAllPages(finder);
    }
    const MupdfDocument::Text text = finder.text->PageText((*finder.pages)[p], page, loaded);
    if (loaded != finder.wanted[p])
        throw host::HostError(host::kErrorDamaged, "the text reader did not find page " + std::to_string(page + 1));
    return pdf::PageWords(*text);
}

}  // namespace tessera::pdf
