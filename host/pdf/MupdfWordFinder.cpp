#include "pdf/MupdfWordFinder.h"

#include "pdf/PageWords.h"
#include "shell/host/HostError.h"

namespace tessera::pdf {

host::WordFinderId MupdfWordFinder::CreateWordFinder(host::DocId doc) {
    PdfDocument& document = store_.Get(doc);
    if (document.Path().empty()) throw host::HostError(host::kErrorBadArgument, "a new document has no text to find");
    finders_[next_] = std::make_unique<MupdfDocument>(document.Path(), document.Password());
    return next_++;
}

void MupdfWordFinder::DestroyWordFinder(host::WordFinderId finder) { finders_.erase(finder); }

std::vector<host::PageWord> MupdfWordFinder::PageWords(host::WordFinderId finder, int page) {
    const auto it = finders_.find(finder);
    if (it == finders_.end()) throw host::HostError(host::kErrorBadArgument, "no such word finder");
    const MupdfDocument::Text text = it->second->PageText(page);
    return pdf::PageWords(*text);
}

}  // namespace tessera::pdf
