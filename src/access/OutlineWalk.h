#pragma once
// A walk over an outline that survives what real files hold: items are
// visited depth first in order, each once (an outline that loops back is cut
// where it does), with a stack of its own, as outlines can be thousands of
// levels deep.
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "access/Host.h"

namespace tessera {

// Calls visit(item, state of its parent) for every item below root; visit
// returns the state its children get, or none to leave them out. Host errors
// pass to the caller.
template <class State, class Visit>
void WalkOutline(host::BookmarkRef root, State rootState, Visit visit) {
    struct Frame {
        host::BookmarkRef next;
        State parent;
    };
    host::BookmarkServices& bookmarks = *Host().bookmarks;
    std::unordered_set<host::BookmarkRef, host::ObjectRefHash> visited{root};
    std::vector<Frame> stack;
    stack.push_back({bookmarks.FirstChild(root), std::move(rootState)});
    while (!stack.empty()) {
        Frame& top = stack.back();
        const host::BookmarkRef item = top.next;
        if (item.IsNull() || !visited.insert(item).second) {
            stack.pop_back();
            continue;
        }
        top.next = bookmarks.NextSibling(item);
        std::optional<State> children = visit(item, std::as_const(top.parent));
        if (children) stack.push_back({bookmarks.FirstChild(item), std::move(*children)});
    }
}

}  // namespace tessera
