#include "reading/SplitFacts.h"

#include "access/Host.h"
#include "access/ReadOr.h"
#include "reading/SearchPattern.h"

namespace tessera {

std::optional<PatternFault> SearchPatternFault(const TextQuery& query) {
    const std::optional<PatternError> error = QueryPatternError(query);
    if (!error) return std::nullopt;
    return PatternFault{error->message, error->offset};
}

DocumentFacts ReadSplitFacts(const DocumentHandle& document) {
    DocumentFacts facts;
    facts.patternFault = &SearchPatternFault;
    facts.groupNames = &RegexGroupNames;
    facts.ocrLanguagesFault = [](const std::string& languages) {
        return ReadOr([](const host::HostError& error) { return std::optional<std::string>(error.what()); },
                      "a language without data is the fault",
                      [&] {
                          Host().pixels->OcrLanguages(languages);
                          return std::optional<std::string>();
                      });
    };
    facts.hasDocument = document.HasDocument();
    if (!facts.hasDocument) return facts;
    host::BookmarkServices& bookmarks = *Host().bookmarks;
    const host::BookmarkRef root = bookmarks.Root(document.Doc());
    facts.hasBookmarks = bookmarks.IsValid(root) && !bookmarks.FirstChild(root).IsNull();
    return facts;
}

}  // namespace tessera
