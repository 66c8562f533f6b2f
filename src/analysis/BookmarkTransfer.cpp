#include "analysis/BookmarkTransfer.h"

#include <unordered_set>
#include <vector>

#include "access/Host.h"
#include "access/ReportHostError.h"
#include "host/HostError.h"

namespace tessera {
namespace {

// The next source item still to copy at one level, and where its copy goes.
struct Frame {
    host::BookmarkRef next;
    host::BookmarkRef parent;
};

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

// Depth first with a stack of its own: outlines can be thousands of levels deep.
void CopyTree(const LinkContext& context) {
    host::BookmarkServices& read = *Host().bookmarks;
    const host::BookmarkRef root = read.Root(context.source.Doc());
    std::unordered_set<host::ObjectRef, host::ObjectRefHash> visited{root};
    std::vector<Frame> stack{{read.FirstChild(root), read.Root(context.output.Doc())}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const host::BookmarkRef item = top.next;
        if (item.IsNull() || !visited.insert(item).second) {
            stack.pop_back();
            continue;
        }
        top.next = read.NextSibling(item);
        const host::BookmarkRef parent = top.parent;  // the push below may move top
        if (!read.IsValid(item)) continue;
        stack.push_back({read.FirstChild(item), CopyItem(context, item, parent)});
    }
}

}  // namespace

bool TransferBookmarks(const LinkContext& context) {
    try {
        CopyTree(context);
        return true;
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
}

}  // namespace tessera
