#include "engine/BookmarkCollector.h"

#include <unordered_set>

#include "access/Host.h"
#include "engine/BookmarkTarget.h"
#include "engine/SafeFileName.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

// Names are cut to 254 characters when files are named, so only the start of a
// deep path (and its last title) can reach a file name. Keeping whole paths
// would make an outline thousands of levels deep cost memory by the square.
constexpr std::size_t kKeptPathBytes = 1024;

// The next sibling still to visit at one level of the walk.
struct Frame {
    host::BookmarkRef next;
    std::string parentPath;
    int level;
};

class Collector {
public:
    Collector(const DocumentHandle& document, int maxLevel) : document_(document), maxLevel_(maxLevel) {}

    std::vector<BookmarkRecord> Run() {
        const host::BookmarkRef root = Host().bookmarks->Root(document_.Doc());
        visited_.insert(root);
        Visit(root, "", 0);
        while (!stack_.empty()) {
            Frame& top = stack_.back();
            const host::BookmarkRef item = top.next;
            if (item.IsNull() || !visited_.insert(item).second) {
                stack_.pop_back();
                continue;
            }
            top.next = Host().bookmarks->NextSibling(item);
            const std::string parentPath = top.parentPath;  // Visit may grow the stack
            Visit(item, parentPath, top.level);
        }
        return std::move(records_);
    }

private:
    void Visit(host::BookmarkRef item, const std::string& parentPath, int level) {
        std::string title = TrimText(MakeSafe(CutToCharacters(Host().bookmarks->Title(item), 64), NameCharSet::Bookmark));
        // An empty title would leave an empty folder name in its children's
        // paths; the root has no title of its own.
        if (title.empty() && level > 0) title = "Untitled";
        const std::string parent = CutToBytes(parentPath, kKeptPathBytes);
        const std::string path = parent.empty() ? title : parent + "\\" + title;
        if (const auto page = GetBookmarkTargetPage(document_, item)) records_.push_back({*page, -1, level, path});
        if (level < maxLevel_) {
            const host::BookmarkRef child = Host().bookmarks->FirstChild(item);
            if (!child.IsNull()) stack_.push_back({child, path, level + 1});
        }
    }

    const DocumentHandle& document_;
    const int maxLevel_;
    std::unordered_set<host::BookmarkRef, host::ObjectRefHash> visited_;
    std::vector<Frame> stack_;
    std::vector<BookmarkRecord> records_;
};

}  // namespace

std::vector<BookmarkRecord> CollectBookmarks(const DocumentHandle& document, int maxLevel) {
    return Collector(document, maxLevel).Run();
}

}  // namespace tessera
