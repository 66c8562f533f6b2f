#include "support/ScopedLanguageTable.h"

namespace tessera::test {

ScopedLanguageTable::ScopedLanguageTable(std::initializer_list<std::string_view> lines) : saved_(TheLanguageTable()) {
    TheLanguageTable().Clear();
    for (std::string_view line : lines) TheLanguageTable().LoadPiece(line);
}

ScopedLanguageTable::~ScopedLanguageTable() { TheLanguageTable() = saved_; }

}  // namespace tessera::test
