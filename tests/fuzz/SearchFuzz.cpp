// The search-pattern compiler and the page-text matcher: the first byte holds
// the query's switches, then the pattern up to a NUL, then the page text.
#include "FuzzTarget.h"
#include "reading/SearchPattern.h"

TESSERA_FUZZ_TARGET(search) {
    if (size == 0) return 0;
    const std::string_view rest = tessera::fuzz::Bytes(data + 1, size - 1);
    const std::size_t split = std::min(rest.find('\0'), rest.size());
    tessera::TextQuery query;
    query.Pattern = std::string(rest.substr(0, split));
    query.UseRegExp = data[0] & 1;
    query.WholeWords = data[0] & 2;
    query.MatchCase = data[0] & 4;
    tessera::QueryPatternError(query);
    tessera::SearchPattern pattern;
    if (!tessera::CompileTextQuery(pattern, query)) return 0;
    pattern.Find(rest.substr(std::min(split + 1, rest.size())));
    return 0;
}
