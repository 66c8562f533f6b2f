#include "pdf/services/MupdfPixelReader.h"

#include "host/HostError.h"

namespace tessera::pdf {

host::PixelReaderId MupdfPixelReader::CreatePixelReader(host::DocId doc) {
    Reader& reader = readers_[next_];
    reader.doc = doc;
    reader.pages = std::make_unique<MupdfPageReader>(store_, doc);
    return next_++;
}

void MupdfPixelReader::DestroyPixelReader(host::PixelReaderId reader) { readers_.erase(reader); }

MupdfPixelReader::Reader& MupdfPixelReader::Get(host::PixelReaderId id) {
    const auto found = readers_.find(id);
    if (found == readers_.end()) throw host::HostError(host::kErrorBadArgument, "no such pixel reader");
    return found->second;
}

template <class Draw>
auto MupdfPixelReader::OnPage(host::PixelReaderId id, int page, Draw draw) {
    Reader& reader = Get(id);
    return reader.pages->OnPage(page, [&](MupdfDocument& document, int index, MupdfDocument::ObjectId& loaded) {
        // Matching the pages may have put a copy written by qpdf in place of the file.
        if (!reader.pixels || reader.drawnMatched != reader.pages->Matched()) {
            reader.pixels = std::make_unique<PagePixels>(document);
            reader.drawnMatched = reader.pages->Matched();
        }
        return draw(*reader.pixels, index, loaded);
    });
}

host::PageCodeSet MupdfPixelReader::PageCodes(host::PixelReaderId id, int page, unsigned kinds) {
    return OnPage(id, page, [=](PagePixels& pixels, int index, PagePixels::ObjectId& loaded) {
        return pixels.PageCodes(index, page, loaded, kinds);
    });
}

std::uint32_t MupdfPixelReader::PageColour(host::PixelReaderId id, int page) {
    return OnPage(id, page, [=](PagePixels& pixels, int index, PagePixels::ObjectId& loaded) {
        return pixels.MedianColour(index, page, loaded);
    });
}

double MupdfPixelReader::PageColourShare(host::PixelReaderId id, int page, std::uint32_t rgb, int tolerance) {
    return OnPage(id, page, [=](PagePixels& pixels, int index, PagePixels::ObjectId& loaded) {
        return pixels.ColourShare(index, page, loaded, rgb, tolerance);
    });
}

host::PageImage MupdfPixelReader::PageThumbnail(host::PixelReaderId id, int page, int width, int height) {
    if (width < 1 || height < 1) throw host::HostError(host::kErrorBadArgument, "a picture needs a size");
    return OnPage(id, page, [=](PagePixels& pixels, int index, PagePixels::ObjectId& loaded) {
        return pixels.Picture(index, page, loaded, width, height);
    });
}

std::vector<host::PageWord> MupdfPixelReader::PageWordsByOcr(host::PixelReaderId id, int page,
                                                             const host::OcrAsk& ask) {
    Reader& reader = Get(id);
    if (const std::vector<host::PageWord>* known = ocrWords_.Find(reader.doc, ask, page)) return *known;
    std::unique_ptr<OcrEngine>& engine = reader.ocr;
    if (!engine || engine->Languages() != ask.languages) engine = ocr_.Start(ask.languages);
    std::vector<host::PageWord> words =
        OnPage(id, page, [&](PagePixels& pixels, int index, PagePixels::ObjectId& loaded) {
            return pixels.OcrWords(index, page, loaded, *engine, ask.dpi, ask.inArea ? &ask.area : nullptr);
        });
    ocrWords_.Keep(reader.doc, ask, page, words);
    return words;
}

std::string MupdfPixelReader::OcrLanguages(const std::string& asked) { return ResolvedOcrLanguages(ocr_, asked); }

}  // namespace tessera::pdf
