#pragma once
// The word finder over MuPDF, which reads a page's text several times faster
// than the alternatives on big files. Each finder reads through a
// MupdfPageReader, so that text is never read from another page than the one
// asked for, even where qpdf and MuPDF disagree on a damaged file's pages.
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "host/WordFinderServices.h"
#include "pdf/services/MupdfPageReader.h"
#include "pdf/text/WordsReadAhead.h"

namespace tessera::pdf {

class MupdfWordFinder : public host::WordFinderServices {
public:
    explicit MupdfWordFinder(DocumentStore& store) : store_(store) {}

    host::WordFinderId CreateWordFinder(host::DocId doc, unsigned threads) override;
    void DestroyWordFinder(host::WordFinderId finder) override;
    std::vector<host::PageWord> PageWords(host::WordFinderId finder, int page) override;

private:
    struct Finder {
        std::unique_ptr<MupdfPageReader> reader;
        // Threads reading the next pages, once pages are asked for one
        // after the other in a file MuPDF reads as qpdf does.
        std::unique_ptr<WordsReadAhead> ahead;
        unsigned threads = 1;  // reading, the caller's thread counted
        int lastAsked = -2;
    };
    Finder& Get(host::WordFinderId finder);
    // The words of page from the threads, started when a scan begins; none
    // when they are for the caller to read.
    std::optional<std::vector<host::PageWord>> ReadAhead(Finder& finder, int page);

    DocumentStore& store_;
    const unsigned cores_ = std::thread::hardware_concurrency();
    host::WordFinderId next_ = 1;
    std::map<host::WordFinderId, Finder> finders_;
};

}  // namespace tessera::pdf
