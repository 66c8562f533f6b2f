#pragma once
// One document read with MuPDF whose page N is always the page qpdf has at N.
//
// qpdf and MuPDF read a document each in its own way, and on a damaged file
// (a page tree whose /Count lies, cross-reference sections that loop) they
// can disagree on which page is page N. Each page MuPDF loads is checked to
// be the page object qpdf has at that place. On the first that is not, the
// pages are matched by object, and when MuPDF cannot see every page qpdf
// sees, MuPDF reads a copy written by qpdf instead. Nothing is ever read from
// another page than the one asked for. The word finder and the pixel reader
// each read through one.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/HostError.h"
#include "pdf/store/DocumentStore.h"
#include "pdf/text/MupdfDocument.h"

namespace tessera::pdf {

class MupdfPageReader {
public:
    using ObjectId = MupdfDocument::ObjectId;
    // HostError when the document is a new one, with no file to read.
    MupdfPageReader(DocumentStore& store, host::DocId doc);

    host::DocId Doc() const { return doc_; }
    // The page objects qpdf has, as they are found in the document MuPDF reads.
    const std::vector<ObjectId>& Wanted() const { return wanted_; }
    MupdfDocument& Text() { return *text_; }
    // Whether the pages have been matched by object: from then on MuPDF's
    // index of a page may differ from its number.
    bool Matched() const { return pages_.has_value(); }

    // What read(document, MuPDF's index, loaded) gives for the 0-based page,
    // once the page it loaded is the one qpdf has there; read says in
    // `loaded` which page object it led to. HostError for a page out of
    // range, and where even the match finds the page nowhere.
    template <class Read>
    auto OnPage(int page, Read read);

private:
    // Matches the pages, reading qpdf's copy when MuPDF misses one in the
    // file; HostError when even the copy does not show every page.
    void MatchAllPages();
    void CheckRange(int page) const;

    DocumentStore& store_;
    host::DocId doc_;
    std::vector<ObjectId> wanted_;
    std::unique_ptr<MupdfDocument> text_;
    // MuPDF's index of each page once they have been matched; until then
    // page N is looked for at index N.
    std::optional<std::vector<int>> pages_;
};

template <class Read>
auto MupdfPageReader::OnPage(int page, Read read) {
    CheckRange(page);
    const std::size_t p = static_cast<std::size_t>(page);
    ObjectId loaded;
    if (!pages_) {
        try {
            auto value = read(*text_, page, loaded);
            if (loaded == wanted_[p]) return value;
        } catch (const host::HostError&) {
            if (loaded == wanted_[p]) throw;  // the right page, which cannot be read
        }
        MatchAllPages();
    }
    auto value = read(*text_, (*pages_)[p], loaded);
    if (loaded != wanted_[p])
        throw host::HostError(host::kErrorDamaged, "the page reader did not find page " + std::to_string(page + 1));
    return value;
}

}  // namespace tessera::pdf
