#include "model/PageQuery.h"

namespace tessera {

bool IsQueryComplete(const PageQuery& query) {
    using enum QueryTarget;
    switch (query.Target) {
        case QueryPageContent:
            return !query.PageContentQuery.empty();
        case QueryPageRanges:
            return !query.FirstPageQuery.Pattern.empty() && !query.LastPageQuery.Pattern.empty();
        default:
            return !query.FirstPageQuery.Pattern.empty();
    }
}

}  // namespace tessera
