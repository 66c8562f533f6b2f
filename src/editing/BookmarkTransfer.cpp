#include "editing/BookmarkTransfer.h"

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

void CopyTree(const LinkContext& context) {
    WalkOutline(Host().bookmarks->Root(context.source.Doc()), Host().bookmarks->Root(context.output.Doc()),
                [&context](host::BookmarkRef item, host::BookmarkRef parent) -> std::optional<host::BookmarkRef> {
                    if (!Host().bookmarks->IsValid(item)) return std::nullopt;
                    return CopyItem(context, item, parent);
                });
}

}  // namespace

bool TransferBookmarks(const LinkContext& context) {
    return Guarded([&] { CopyTree(context); });
}

}  // namespace tessera
