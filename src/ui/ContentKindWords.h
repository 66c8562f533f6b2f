#pragma once
// The words that name page element kinds in content queries on the command
// line, one for each box of the element content dialog.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/PageElementKind.h"

namespace tessera {

std::optional<host::PageElementKind> ContentKindForWord(std::string_view word);
// The kinds in the order the dialog lists its boxes, each once.
std::vector<host::PageElementKind> InDialogOrder(const std::vector<host::PageElementKind>& kinds);
// "word  what it finds" lines for --help.
std::string ContentKindWordsHelp();

}  // namespace tessera
