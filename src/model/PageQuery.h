#pragma once
// The query that turns a page range into a query range.
#include <cstdint>
#include <string>
#include <vector>

#include "host/PageElementKind.h"
#include "model/TextQuery.h"

namespace tessera {

// What a query finds, by the integer profiles store. Like the settings' choices
// (model/SplitSettings.h) it holds any stored value; an unknown target is
// read as a single-page query.
enum class QueryTarget : std::int32_t {
    QuerySinglePage = 0,
    QueryPageSet = 1,
    QueryPageContent = 2,
    QueryPageRanges = 3,
};

struct PageQuery {
    bool Enable = false;
    QueryTarget Target = QueryTarget::QuerySinglePage;
    std::vector<std::int32_t> Results;  // pages found by the last resolution; never stored
    TextQuery FirstPageQuery;
    TextQuery LastPageQuery;
    bool ExcludeLastPage = false;
    std::vector<host::PageElementKind> PageContentQuery;  // element kinds that must all be present

    friend bool operator==(const PageQuery&, const PageQuery&) = default;
};

bool IsQueryComplete(const PageQuery& query);

}  // namespace tessera
