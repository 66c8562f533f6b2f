#pragma once
// The word finder over MuPDF, which reads a page's text several times faster
// than the alternatives on big files.
//
// qpdf and MuPDF read a document each in its own way, and on a damaged file
// (a page tree whose /Count lies, cross-reference sections that loop) they
// can disagree on which page is page N. Each page MuPDF loads is checked to
// be the page object qpdf has at that place. On the first that is not, the
// pages are matched by object, and when MuPDF cannot see every page qpdf
// sees, MuPDF reads a copy written by qpdf instead. Text is never read from
// another page than the one asked for.
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "host/WordFinderServices.h"
#include "pdf/DocumentStore.h"
#include "pdf/MupdfDocument.h"
#include "pdf/WordsReadAhead.h"

namespace tessera::pdf {

class MupdfWordFinder : public host::WordFinderServices {
public:
    explicit MupdfWordFinder(DocumentStore& store) : store_(store) {}

    host::WordFinderId CreateWordFinder(host::DocId doc, unsigned threads) override;
    void DestroyWordFinder(host::WordFinderId finder) override;
    std::vector<host::PageWord> PageWords(host::WordFinderId finder, int page) override;
    host::PageCodeSet PageCodes(host::WordFinderId finder, int page, unsigned kinds) override;
    std::uint32_t PageColour(host::WordFinderId finder, int page) override;
    double PageColourShare(host::WordFinderId finder, int page, std::uint32_t rgb, int tolerance) override;

private:
    struct Finder {
        host::DocId doc = 0;
        std::vector<MupdfDocument::ObjectId> wanted;  // qpdf's pages, in the document MuPDF reads
        std::unique_ptr<MupdfDocument> text;
        // MuPDF's index of each page once they have been matched; until then
        // page N is looked for at index N.
        std::optional<std::vector<int>> pages;
        // Threads reading the next pages, once pages are asked for one
        // after the other in a file MuPDF reads as qpdf does.
        std::unique_ptr<WordsReadAhead> ahead;
        unsigned threads = 1;  // reading, the caller's thread counted
        int lastAsked = -2;
    };
    Finder& Get(host::WordFinderId finder);
    // What read(document, MuPDF's index, loaded) gives for the page, once the
    // page it loaded is the one qpdf has there.
    template <class Read>
    auto OnPage(host::WordFinderId finder, int page, Read read);
    // Matches the pages, reading qpdf's copy when MuPDF misses one in the
    // file; HostError when even the copy does not show every page.
    void MatchAllPages(Finder& finder);
    // The words of page from the threads, started when a scan begins; none
    // when they are for the caller to read.
    std::optional<std::vector<host::PageWord>> ReadAhead(Finder& finder, int page);

    DocumentStore& store_;
    const unsigned cores_ = std::thread::hardware_concurrency();
    host::WordFinderId next_ = 1;
    std::map<host::WordFinderId, Finder> finders_;
};

}  // namespace tessera::pdf
