// The language file reader, fed in the pieces the file reader hands it.
#include <string>

#include "FuzzTarget.h"
#include "strings/LanguageTable.h"

TESSERA_FUZZ_TARGET(language) {
    tessera::LanguageTable table;
    std::string_view text = tessera::fuzz::Bytes(data, size);
    std::string lastKey;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n') + 1, std::min<std::size_t>(text.size(), 511));
        const std::string_view piece = text.substr(0, end == 0 ? text.size() : end);
        table.LoadPiece(piece);
        lastKey = std::string(piece.substr(0, piece.find('=')));
        text.remove_prefix(piece.size());
    }
    table.Find(lastKey);
    return 0;
}
