#pragma once
// Outputs made searchable: the words text recognition reads on a source
// page that has no text layer of its own, laid invisibly over its copy in an
// output. Pages with a text layer are left as they are, and the source is
// never changed.
#include "access/DocumentHandle.h"
#include "access/OwnedId.h"
#include "model/SplitSettings.h"
#include "reading/PageOcr.h"

namespace tessera {

class OcrTextLayer {
public:
    OcrTextLayer(const DocumentHandle& source, const OcrSettings& ocr);
    OcrTextLayer(const OcrTextLayer&) = delete;
    OcrTextLayer& operator=(const OcrTextLayer&) = delete;

    // Lays the words of source page `page` over page `index` of output, when
    // the source page has no text layer (none, or mostly unmappable). A page
    // OCR cannot read is left without, and said once.
    void Add(host::DocId output, int index, int page);

private:
    const DocumentHandle& source_;
    PageOcr ocr_;
    OwnedWordFinder finder_;
};

}  // namespace tessera
