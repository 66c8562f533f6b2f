#include "editing/BookmarkTransfer.h"

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "access/Guarded.h"
#include "access/Host.h"
#include "access/OutlineWalk.h"

namespace tessera {
namespace {

// The next source item still to copy at one level, and where its copy goes.
void CopyAction(const LinkContext& context, host::BookmarkRef from, host::BookmarkRef to) {
    const host::ActionRef action = Host().bookmarks->Action(from);
    if (action.IsNull() || !Host().actions->IsValid(action)) return;
    if (Host().actions->Subtype(action) != "GoTo") {
        Host().bookmarkEdits->SetAction(to, Host().actionBuilder->CopyAction(context.output.Doc(), action));
        return;
    }
    if (const std::optional<host::ActionRef> mapped = MapDestination(context, action))
        Host().bookmarkEdits->SetAction(to, *mapped);
}

host::BookmarkRef CopyItem(const LinkContext& context, host::BookmarkRef from, host::BookmarkRef parent) {
    host::BookmarkServices& read = *Host().bookmarks;
    host::BookmarkEditServices& edit = *Host().bookmarkEdits;
    const host::BookmarkRef item = edit.AddChild(parent, read.Title(from));
    edit.SetStyle(item, read.Style(from));
    edit.SetOpen(item, read.IsOpen(from));
    if (const std::optional<host::RgbColor> color = read.Color(from)) edit.SetColor(item, *color);
    CopyAction(context, from, item);
    return item;
}

// `visitCopy` is shown each source item beside its copy.
template <class VisitCopy>
void CopyTree(const LinkContext& context, VisitCopy visitCopy) {
    WalkOutline(Host().bookmarks->Root(context.source.Doc()), Host().bookmarks->Root(context.output.Doc()),
                [&](host::BookmarkRef item, host::BookmarkRef parent) -> std::optional<host::BookmarkRef> {
                    if (!Host().bookmarks->IsValid(item)) return std::nullopt;
                    const host::BookmarkRef copy = CopyItem(context, item, parent);
                    visitCopy(item, copy);
                    return copy;
                });
}

// The outline every output in one folder takes, built once in a document of
// its own: each GoTo leads to the file of the output holding its target, or
// into the source. An output replaces only the actions of the items that
// lead into itself. Every output rebuilt the whole outline item by item
// before, a thousand items in each of thousands of outputs.
struct SharedOutline {
    struct Local {
        host::BookmarkRef item;  // of the shared outline
        int position;            // of the target page in its output
        host::Destination dest;
    };
    explicit SharedOutline(host::DocId made) : doc(made, DocumentHandle::Ownership::Owned) {}
    DocumentHandle doc;
    std::map<std::size_t, std::vector<Local>> byOutput;
};

std::map<std::pair<host::DocId, std::string>, std::unique_ptr<SharedOutline>>& SharedOutlines() {
    static std::map<std::pair<host::DocId, std::string>, std::unique_ptr<SharedOutline>> outlines;
    return outlines;
}

int openScopes = 0;  // outside every scope, nothing is shared (nor kept to the program's end)

// Notes where an item of the shared outline leads into an output.
void NoteLocal(const LinkContext& context, SharedOutline& shared, host::BookmarkRef from, host::BookmarkRef copy) {
    const host::ActionRef action = Host().bookmarks->Action(from);
    if (action.IsNull() || !Host().actions->IsValid(action) || Host().actions->Subtype(action) != "GoTo") return;
    const std::optional<host::Destination> dest = Host().actions->ResolvedDestination(action);
    if (!dest) return;
    const PageLocation target = context.places.Find(dest->page);
    if (target.found)
        shared.byOutput[static_cast<std::size_t>(target.output)].push_back({copy, target.position, *dest});
}

SharedOutline& SharedOutlineFor(const LinkContext& context) {
    const std::string here = context.pathOf(context.index);
    const std::string folder = std::filesystem::path(here).parent_path().string();
    std::unique_ptr<SharedOutline>& shared = SharedOutlines()[{context.source.Doc(), folder}];
    if (shared) return *shared;
    auto made = std::make_unique<SharedOutline>(Host().documents->NewDocument());
    // As for an output of this folder that holds none of the targets.
    const std::size_t none = context.outputs.size();
    const LinkContext building{context.source,
                               made->doc,
                               none,
                               context.outputs,
                               [&](std::size_t k) { return k == none ? here : context.pathOf(k); },
                               context.places};
    CopyTree(building, [&](host::BookmarkRef from, host::BookmarkRef copy) { NoteLocal(building, *made, from, copy); });
    shared = std::move(made);
    return *shared;
}

bool ShareTree(const LinkContext& context) {
    if (openScopes == 0) return false;
    const SharedOutline& shared = SharedOutlineFor(context);
    host::BookmarkEditServices& edit = *Host().bookmarkEdits;
    if (!edit.ShareOutline(context.output.Doc(), shared.doc.Doc())) return false;
    const auto locals = shared.byOutput.find(context.index);
    if (locals == shared.byOutput.end()) return true;
    for (const SharedOutline::Local& local : locals->second)
        edit.ReplaceSharedAction(context.output.Doc(), local.item,
                                 Host().actionBuilder->NewGoTo(context.output.Doc(), local.position + 1,
                                                               local.dest));  // after the placeholder
    return true;
}

}  // namespace

bool TransferBookmarks(const LinkContext& context) {
    return Guarded([&] {
        if (!ShareTree(context)) CopyTree(context, [](host::BookmarkRef, host::BookmarkRef) {});
    });
}

SharedOutlinesScope::SharedOutlinesScope() {
    SharedOutlines().clear();
    ++openScopes;
}

SharedOutlinesScope::~SharedOutlinesScope() {
    SharedOutlines().clear();
    --openScopes;
}

}  // namespace tessera
