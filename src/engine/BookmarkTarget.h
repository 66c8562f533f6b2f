#pragma once
// Which page a bookmark leads to.
#include <optional>
#include <string_view>

#include "access/DocumentHandle.h"
#include "host/HostTypes.h"

namespace tessera {

// The 0-based page of a bookmark's GoTo destination, or of the page number a
// JavaScript action assigns to this.pageNum; none for other actions, for
// destinations that lead nowhere, and when the handle holds no document.
// Host errors pass to the caller.
std::optional<int> GetBookmarkTargetPage(const DocumentHandle& document, host::BookmarkRef bookmark);

// The integer assigned in "this.pageNum = N"; none when there is no such assignment.
std::optional<int> ParseScriptPageNumber(std::string_view script);

}  // namespace tessera
