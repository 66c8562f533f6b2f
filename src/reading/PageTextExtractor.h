#pragma once
// The text of pages, word by word through the host's word finder, optionally
// only the words that touch an area.
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "access/OwnedId.h"
#include "host/WordFinderServices.h"
#include "model/TextQuery.h"

namespace tessera {

// Whether a word box touches the area (edges included).
bool Touches(const host::WordBox& box, const PageArea& area);

class PageTextExtractor {
public:
    PageTextExtractor() = default;
    PageTextExtractor(const PageTextExtractor&) = delete;
    PageTextExtractor& operator=(const PageTextExtractor&) = delete;

    // Makes a word finder for the document, which may read pages ahead on
    // `threads` threads, this one counted (0: one per core); HostError when it cannot.
    bool Attach(const DocumentHandle& document, unsigned threads = 0);
    // The page's kept words, each followed by one space. False without a word
    // finder; HostError when the page's text cannot be read.
    bool Extract(int page, const PageArea& area, bool useArea);

    const std::string& Text() const { return text_; }
    bool Attached() const { return static_cast<bool>(finder_); }
    int WordCount() const { return wordCount_; }

private:
    std::string text_;
    OwnedWordFinder finder_;
    int page_ = -1;
    int wordCount_ = 0;
};

// The text inside an area of a page; none without a document or for a page
// outside it. The extractor is attached on first use and serves later calls,
// so naming many outputs reads the document once.
std::optional<std::string> GetPageTextInArea(PageTextExtractor& extractor, const DocumentHandle& document, int page,
                                             const PageArea& area);

}  // namespace tessera
