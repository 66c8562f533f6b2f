// The --doc selection syntax: the first byte is the page count, the rest the text.
#include <cstdlib>

#include "FuzzTarget.h"
#include "options/SelectionSyntax.h"

TESSERA_FUZZ_TARGET(selection) {
    if (size == 0) return 0;
    const int pages = data[0] + 1;
    const auto ranges = tessera::ParseSelection(tessera::fuzz::Bytes(data + 1, size - 1), pages, tessera::TextQuery{});
    if (!ranges) return 0;
    // A range may hold no page ("z:even" of an odd count: the split leaves its
    // output out), never a page outside the document.
    for (const tessera::PageRange& range : *ranges)
        if (!range.Query.Enable && range.NumActualPages > 0 &&
            (range.FirstPage < 0 || range.LastPage >= pages || range.FirstPage > range.LastPage))
            std::abort();
    return 0;
}
