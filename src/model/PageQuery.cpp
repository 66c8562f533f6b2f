#include "model/PageQuery.h"

#include "model/ElementKindTable.h"
#include "strings/LanguageTable.h"

namespace tessera {

bool IsQueryComplete(const PageQuery& query) {
    using enum QueryTarget;
    switch (query.Target) {
        case QueryPageContent: return !query.PageContentQuery.empty();
        case QueryPageRanges: return !query.FirstPageQuery.Pattern.empty() && !query.LastPageQuery.Pattern.empty();
        default: return !query.FirstPageQuery.Pattern.empty();
    }
}

std::string DescribePageQuery(const PageQuery& query) {
    const std::string quote = "\"";
    std::string kind;
    std::string match = LookupString("IDS_MATCHING") + " ";
    using enum QueryTarget;
    switch (query.Target) {
        case QueryPageSet:
            kind = LookupString("IDS_SET_OF_PAGES");
            match += quote + query.FirstPageQuery.Pattern + quote;
            break;
        case QueryPageContent: {
            kind = LookupString("IDS_SET_OF_PAGES_CONTAINING_SC") + " ";
            for (std::size_t i = 0; i < query.PageContentQuery.size(); ++i)
                kind += (i ? ", " : "") + ElementKindName(query.PageContentQuery[i]);
            match.clear();
            break;
        }
        case QueryPageRanges:
            kind = LookupString("IDS_PAGE_RANGE");
            match += quote + query.FirstPageQuery.Pattern + quote + " " + LookupString("IDS_AND") + " " + quote +
                     query.LastPageQuery.Pattern + quote;
            break;
        default:
            kind = LookupString("IDS_SINGLE_PAGE");
            match += quote + query.FirstPageQuery.Pattern + quote;
            break;
    }
    return LookupString("IDS_QUERY") + " " + kind + " " + match;
}

}  // namespace tessera
