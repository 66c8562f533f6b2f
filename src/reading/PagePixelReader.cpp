#include "reading/PagePixelReader.h"

#include "access/Host.h"

namespace tessera {

bool PagePixelReader::Attach(const DocumentHandle& document) {
    reader_ = {};  // the previous document's reader goes
    if (!document.HasDocument()) return false;
    reader_ = OwnedPixelReader(Host().pixels->CreatePixelReader(document.Doc()));
    return true;
}

host::PageCodeSet PagePixelReader::Codes(int page, unsigned kinds) {
    return reader_ ? Host().pixels->PageCodes(reader_.Get(), page, kinds) : host::PageCodeSet();
}

double PagePixelReader::ColourShare(int page, std::uint32_t rgb, int tolerance) {
    return reader_ ? Host().pixels->PageColourShare(reader_.Get(), page, rgb, tolerance) : 0.0;
}

std::uint32_t PagePixelReader::Colour(int page) {
    return reader_ ? Host().pixels->PageColour(reader_.Get(), page) : 0xFFFFFFu;
}

host::PageImage PagePixelReader::Picture(int page, int width, int height) {
    return reader_ ? Host().pixels->PageThumbnail(reader_.Get(), page, width, height) : host::PageImage{};
}

std::vector<host::PageWord> PagePixelReader::OcrWords(int page, const host::OcrAsk& ask) {
    return reader_ ? Host().pixels->PageWordsByOcr(reader_.Get(), page, ask) : std::vector<host::PageWord>();
}

}  // namespace tessera
