#include "engine/BookmarkTarget.h"

#include <charconv>

#include "access/Host.h"
#include "strings/Utf8Text.h"

namespace tessera {

std::optional<int> GetBookmarkTargetPage(const DocumentHandle& document, host::BookmarkRef bookmark) {
    if (!document.HasDocument()) return std::nullopt;
    const host::HostServices& host = Host();
    if (!host.bookmarks->IsValid(bookmark)) return std::nullopt;
    const host::ActionRef action = host.bookmarks->Action(bookmark);
    if (action.IsNull() || !host.actions->IsValid(action)) return std::nullopt;
    const std::string kind = host.actions->Subtype(action);
    if (kind == "GoTo") return host.actions->DestinationPage(action);
    if (kind == "JavaScript") {
        if (const auto script = host.actions->ScriptText(action)) return ParseScriptPageNumber(*script);
    }
    return std::nullopt;
}

std::optional<int> ParseScriptPageNumber(std::string_view script) {
    const std::string_view name = "this.pageNum";
    const std::size_t at = script.find(name);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t eq = script.find('=', at + name.size());
    if (eq == std::string_view::npos || eq + 1 == script.size()) return std::nullopt;
    std::size_t i = eq + 1;
    while (i < script.size() && IsBlank(script[i])) ++i;
    if (i < script.size() && script[i] == '+') ++i;  // "%d" takes an explicit plus sign
    int value = 0;
    const char* begin = script.data() + i;
    const auto [end, error] = std::from_chars(begin, script.data() + script.size(), value);
    // A number that does not fit is no page number (sscanf would give an undefined value).
    if (error != std::errc() || end == begin) return std::nullopt;
    return value;
}

}  // namespace tessera
