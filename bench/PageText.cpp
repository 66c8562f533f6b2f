// Prints the words the host's word finder reads on each page of a PDF, each
// page ended by a form feed as pdftotext ends them, so that bench/letters can
// count both the same way.
// Usage: page_text FILE [PASSWORD]
#include <cstdio>
#include <stdexcept>

#include "pdf/services/MupdfWordFinder.h"
#include "pdf/store/DocumentStore.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_text FILE [PASSWORD]\n");
        return 2;
    }
    try {
        tessera::pdf::DocumentStore store;
        const tessera::host::DocId doc = store.Open(argv[1], argc > 2 ? argv[2] : "");
        tessera::pdf::MupdfWordFinder words(store);
        const tessera::host::WordFinderId finder = words.CreateWordFinder(doc, 0);
        const int pages = static_cast<int>(store.Get(doc).Qpdf().getAllPages().size());
        for (int page = 0; page < pages; ++page) {
            for (tessera::host::PageWord& word : words.PageWords(finder, page)) {
                // Glyphs of picture fonts can read as control characters; a form feed among them would end the page.
                for (char& c : word.text)
                    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
                std::printf("%s ", word.text.c_str());
            }
            std::printf("\f");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "page_text: %s\n", e.what());
        return 1;
    }
    return 0;
}
