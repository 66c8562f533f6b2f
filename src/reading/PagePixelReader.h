#pragma once
// What is read from how pages look, through the host's page-pixels service:
// the codes a page shows, its colour, the share of a colour on it.
#include <cstdint>
#include <vector>

#include "access/DocumentHandle.h"
#include "access/OwnedId.h"
#include "host/PagePixelServices.h"

namespace tessera {

class PagePixelReader {
public:
    PagePixelReader() = default;
    PagePixelReader(const PagePixelReader&) = delete;
    PagePixelReader& operator=(const PagePixelReader&) = delete;

    // Makes a pixel reader for the document; false without one, HostError
    // when the host cannot. A reader made before a scan is handed out goes
    // with it into every worker process.
    bool Attach(const DocumentHandle& document);
    bool Attached() const { return static_cast<bool>(reader_); }
    void Detach() { reader_ = {}; }

    // Each HostError when the page cannot be drawn in full; without a
    // reader, no codes, no share, and white.
    // The codes of the kinds (host::CodeKind bits) the page shows, and the ink beside them.
    host::PageCodeSet Codes(int page, unsigned kinds);
    // The share (0 to 1) of the page near the colour.
    double ColourShare(int page, std::uint32_t rgb, int tolerance);
    // The page's colour (0xRRGGBB).
    std::uint32_t Colour(int page);
    // The page drawn to fit in width × height pixels; an empty picture without a reader.
    host::PageImage Picture(int page, int width, int height);
    // The words text recognition reads on the page as asked.
    std::vector<host::PageWord> OcrWords(int page, const host::OcrAsk& ask);

private:
    OwnedPixelReader reader_;
};

}  // namespace tessera
