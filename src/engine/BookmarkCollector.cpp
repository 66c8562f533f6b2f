#include "engine/BookmarkCollector.h"

#include <optional>

#include "access/Host.h"
#include "access/OutlineWalk.h"
#include "engine/BookmarkTarget.h"
#include "engine/SafeFileName.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

// Names are cut to 254 characters when files are named, so only the start of a
// deep path (and its last title) can reach a file name. Keeping whole paths
// would make an outline thousands of levels deep cost memory by the square.
constexpr std::size_t kKeptPathBytes = 1024;

// What an item takes from its parent: the parent's path, and its own level.
struct Inherited {
    std::string parentPath;
    int level;
};

class Collector {
public:
    Collector(const DocumentHandle& document, int maxLevel) : document_(document), maxLevel_(maxLevel) {}

    std::vector<BookmarkRecord> Run() {
        const host::BookmarkRef root = Host().bookmarks->Root(document_.Doc());
        if (const std::optional<Inherited> below = Visit(root, {"", 0}))
            WalkOutline(root, *below,
                        [this](host::BookmarkRef item, const Inherited& from) { return Visit(item, from); });
        return std::move(records_);
    }

private:
    // What the item's children take from it; none when they lie below the levels wanted.
    std::optional<Inherited> Visit(host::BookmarkRef item, const Inherited& from) {
        std::string title =
            TrimText(MakeSafe(CutToCharacters(Host().bookmarks->Title(item), 64), NameCharSet::Bookmark));
        // An empty title would leave an empty folder name in its children's
        // paths; the root has no title of its own.
        if (title.empty() && from.level > 0) title = "Untitled";
        const std::string parent = CutToBytes(from.parentPath, kKeptPathBytes);
        const std::string path = parent.empty() ? title : parent + "\\" + title;
        if (const auto page = GetBookmarkTargetPage(document_, item))
            records_.push_back({*page, -1, from.level, path, item});
        if (from.level < maxLevel_) return Inherited{path, from.level + 1};
        return std::nullopt;
    }

    const DocumentHandle& document_;
    const int maxLevel_;
    std::vector<BookmarkRecord> records_;
};

}  // namespace

std::vector<BookmarkRecord> CollectBookmarks(const DocumentHandle& document, int maxLevel) {
    return Collector(document, maxLevel).Run();
}

}  // namespace tessera
