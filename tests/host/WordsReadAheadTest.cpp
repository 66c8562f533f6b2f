// A text scan read ahead on threads finds the words one thread finds.
#include <gtest/gtest.h>

#include "pdf/DocumentStore.h"
#include "pdf/MupdfWordFinder.h"
#include "support/TestHost.h"

namespace tessera::pdf {
namespace {

std::string Described(const std::vector<host::PageWord>& words) {
    std::string out;
    for (const host::PageWord& word : words) {
        out += word.text;
        for (const host::WordBox& box : word.quads)
            out += " [" + std::to_string(box.minX) + "," + std::to_string(box.minY) + "," + std::to_string(box.maxX) +
                   "," + std::to_string(box.maxY) + "]";
        out += '\n';
    }
    return out;
}

TEST(WordsReadAheadTest, AScanFromFirstToLastPageReadsWhatSinglePagesRead) {
    // The damaged file's page tree is read differently by MuPDF and qpdf.
    for (const char* file : {"hyperref-manual-outline-gotor-launch-named.pdf",
                             "damaged-xref-outlines-labels-recoverable.pdf", "ctex-manual-chinese.pdf"}) {
        SCOPED_TRACE(file);
        DocumentStore store;
        const host::DocId doc = store.Open(test::DataFile(file));
        MupdfWordFinder words(store);
        const host::WordFinderId scan = words.CreateWordFinder(doc), single = words.CreateWordFinder(doc);
        const int pages = store.Get(doc).PageCount();
        std::vector<std::string> scanned, alone(static_cast<std::size_t>(pages));
        for (int page = 0; page < pages; ++page) scanned.push_back(Described(words.PageWords(scan, page)));
        for (int page = pages - 1; page >= 0; --page)  // backwards: nothing is read ahead
            alone[static_cast<std::size_t>(page)] = Described(words.PageWords(single, page));
        for (int page = 0; page < pages; ++page)
            EXPECT_EQ(scanned[static_cast<std::size_t>(page)], alone[static_cast<std::size_t>(page)]) << "page " << page + 1;
    }
}

}  // namespace
}  // namespace tessera::pdf
