#pragma once
// The bookmarks of a document that lead to a page, with their level and path.
#include <string>
#include <vector>

#include "access/DocumentHandle.h"

namespace tessera {

struct BookmarkRecord {
    int firstPage = 0;
    int lastPage = -1;
    int level = 0;         // top-level bookmarks are level 1
    std::string pathName;  // safe titles from the top, joined by "\"
    host::BookmarkRef bookmark;
};

// Walks the outline depth first in document order down to level `maxLevel`.
// Each item is visited at most once and without recursion, so outlines whose
// items loop or nest tens of thousands deep are walked safely. Host errors
// pass to the caller.
std::vector<BookmarkRecord> CollectBookmarks(const DocumentHandle& document, int maxLevel);

}  // namespace tessera
