#pragma once
// The words the settings dialog's output tree shows for a range, in the
// user's language: what it selects, its order and its watermark.
#include <string>

#include "host/PageElementKind.h"
#include "model/PageRange.h"

namespace tessera {

// "All Pages from 1 to 9 (9 pages)", with the range's subtitle before it and
// its reverse order and watermark after; a query's own description for a query.
std::string DescribePageRange(const PageRange& range);

// "Query Single Page Matching "Chapter"", or the kinds of content a query names.
std::string DescribePageQuery(const PageQuery& query);

// The localised display name of a kind; "Element" for kinds without one.
std::string ElementKindName(host::PageElementKind kind);

}  // namespace tessera
