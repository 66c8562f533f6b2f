#pragma once
// The text of pages, word by word through the host's word finder, optionally
// only the words that touch an area; read by OCR where the settings say.
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "access/OwnedId.h"
#include "host/WordFinderServices.h"
#include "model/SplitSettings.h"
#include "model/TextQuery.h"
#include "reading/PageOcr.h"

namespace tessera {

// Whether a word box touches the area (edges included).
bool Touches(const host::WordBox& box, const PageArea& area);

class PageTextExtractor {
public:
    explicit PageTextExtractor(const OcrSettings& ocr) : ocr_(ocr) {}
    PageTextExtractor(const PageTextExtractor&) = delete;
    PageTextExtractor& operator=(const PageTextExtractor&) = delete;

    // Makes a word finder for the document, which may read pages ahead on
    // `threads` threads, this one counted (0: one per core); HostError when it cannot.
    bool Attach(const DocumentHandle& document, unsigned threads = 0);
    // The page's kept words, each followed by one space. False without a word
    // finder; HostError when the page's text cannot be read, by its text
    // layer or by OCR.
    bool Extract(int page, const PageArea& area, bool useArea);

    const std::string& Text() const { return text_; }
    bool Attached() const { return static_cast<bool>(finder_); }
    int WordCount() const { return wordCount_; }
    // The least confidence (0 to 100) of the words OCR read that make up
    // bytes `from` to `to` of Text(); none when the last page's text was read
    // from its text layer.
    std::optional<int> OcrConfidence(std::size_t from = 0, std::size_t to = std::string::npos) const;

private:
    void Keep(const host::PageWord& word);

    std::string text_;
    OwnedWordFinder finder_;
    PageOcr ocr_;
    int page_ = -1;
    int wordCount_ = 0;
    bool readByOcr_ = false;
    std::vector<std::pair<std::size_t, int>> wordConfidence_;  // where each word starts in text_, and its confidence
};

// The text inside an area of a page; none without a document or for a page
// outside it. The extractor is attached on first use and serves later calls,
// so naming many outputs reads the document once.
std::optional<std::string> GetPageTextInArea(PageTextExtractor& extractor, const DocumentHandle& document, int page,
                                             const PageArea& area);

}  // namespace tessera
