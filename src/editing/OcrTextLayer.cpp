#include "editing/OcrTextLayer.h"

#include "access/Host.h"

namespace tessera {
namespace {

// Whatever the mode, a page is read for the layer only where it has no text
// of its own.
OcrSettings ForPagesWithoutText(OcrSettings ocr) {
    ocr.Mode = OcrMode::Auto;
    return ocr;
}

}  // namespace

OcrTextLayer::OcrTextLayer(const DocumentHandle& source, const OcrSettings& ocr)
    : source_(source), ocr_(ForPagesWithoutText(ocr)) {
    ocr_.Attach(source);
}

void OcrTextLayer::Add(host::DocId output, int index, int page) {
    if (!finder_) finder_ = OwnedWordFinder(Host().words->CreateWordFinder(source_.Doc(), 1));
    const std::vector<host::PageWord> layer = Host().words->PageWords(finder_.Get(), page);
    std::vector<const host::PageWord*> words;
    for (const host::PageWord& word : layer) words.push_back(&word);
    if (!ocr_.Wanted(words)) return;
    if (const std::optional<std::vector<host::PageWord>> read = ocr_.Words(page, std::nullopt))
        Host().edits->AddInvisibleWords(output, index, *read);
}

}  // namespace tessera
