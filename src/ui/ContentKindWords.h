#pragma once
// The words that name page element kinds in content queries on the command
// line, one for each box of the element content dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

std::optional<std::int32_t> ContentKindForWord(std::string_view word);
// The kinds in the order the dialog lists its boxes, each once.
std::vector<std::int32_t> InDialogOrder(const std::vector<std::int32_t>& kinds);
// "word  what it finds" lines for --help.
std::string ContentKindWordsHelp();

}  // namespace tessera
