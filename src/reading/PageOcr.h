#pragma once
// Text recognition (OCR) as the text features ask for it: whether a page's
// text layer leaves its words to OCR, and the words OCR reads, through the
// host's page-pixels service.
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "model/PageArea.h"
#include "model/SplitSettings.h"
#include "reading/PagePixelReader.h"

namespace tessera {

class PageOcr {
public:
    explicit PageOcr(const OcrSettings& settings) : settings_(settings) {}
    PageOcr(const PageOcr&) = delete;
    PageOcr& operator=(const PageOcr&) = delete;

    // Reads the document's pages from now on.
    void Attach(const DocumentHandle& document);
    // Whether the words the text layer has where a feature asks (those in
    // its area, or the page's) leave the reading to OCR: always, or in auto
    // mode where there are none or most of their characters are unmappable.
    bool Wanted(const std::vector<const host::PageWord*>& layerWords) const;
    // The words read on the page, of the area and a margin around it or of
    // the whole page, without those read with less than the least
    // confidence. None when the page cannot be drawn in full or no
    // language's data is installed, which the user hears of once.
    std::optional<std::vector<host::PageWord>> Words(int page, const std::optional<PageArea>& area);

private:
    const OcrSettings settings_;
    const DocumentHandle* document_ = nullptr;
    PagePixelReader pixels_;
    std::string languages_;  // resolved at the first read
    bool failureSaid_ = false;
};

}  // namespace tessera
