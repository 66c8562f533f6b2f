#include "pdf/services/MupdfWordFinder.h"

#include <utility>

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "pdf/text/PageWords.h"

namespace tessera::pdf {

host::WordFinderId MupdfWordFinder::CreateWordFinder(host::DocId doc, unsigned threads) {
    Finder finder;
    finder.reader = std::make_unique<MupdfPageReader>(store_, doc);
    finder.threads = threads == 0 ? cores_ : std::min(threads, cores_);
    finders_[next_] = std::move(finder);
    return next_++;
}

void MupdfWordFinder::DestroyWordFinder(host::WordFinderId finder) { finders_.erase(finder); }

MupdfWordFinder::Finder& MupdfWordFinder::Get(host::WordFinderId finder) {
    const auto it = finders_.find(finder);
    if (it == finders_.end()) throw host::HostError(host::kErrorBadArgument, "no such word finder");
    return it->second;
}

std::optional<std::vector<host::PageWord>> MupdfWordFinder::ReadAhead(Finder& finder, int page) {
    MupdfPageReader& reader = *finder.reader;
    if (reader.Matched()) {  // from now on pages are looked for by object
        finder.ahead.reset();
        return std::nullopt;
    }
    const bool scanning = page == std::exchange(finder.lastAsked, page) + 1;
    // A worker process has a core of its own and no other to read ahead on.
    if (!finder.ahead && scanning && finder.threads > 1 && !app::IsWorker()) {
        const PdfDocument& document = store_.Get(reader.Doc());
        finder.ahead = std::make_unique<WordsReadAhead>(document.Path(), document.Password(), reader.Wanted(), page,
                                                        finder.threads - 1);
    }
    return finder.ahead ? finder.ahead->Take(page, reader.Text()) : std::nullopt;
}

std::vector<host::PageWord> MupdfWordFinder::PageWords(host::WordFinderId id, int page) {
    Finder& finder = Get(id);
    if (page >= 0 && static_cast<std::size_t>(page) < finder.reader->Wanted().size())
        if (std::optional<std::vector<host::PageWord>> words = ReadAhead(finder, page)) return std::move(*words);
    return finder.reader->OnPage(page, [page](MupdfDocument& text, int index, MupdfDocument::ObjectId& loaded) {
        return pdf::PageWords(*text.PageText(index, page, loaded));
    });
}

}  // namespace tessera::pdf
