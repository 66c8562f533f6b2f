#pragma once
// The one table of the kinds of page element a content query can ask for:
// each kind's display name, its command-line word and help, its box in the
// element content dialog, and the annotation and action subtypes that count
// as it. The host's content element types (text, paths, images, forms,
// PostScript, shadings) are counted by the host's own reading of the content.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/PageElementKind.h"

namespace tessera {

struct ElementKindRow {
    host::PageElementKind kind;
    const char* nameKey;      // the display name's language-table key
    const char* englishName;  // the display name without a language table
    // The command-line word and what it finds; null for kinds queries built
    // on the command line cannot name.
    const char* word = nullptr;
    const char* finds = nullptr;
    // The element content dialog's box: its control number, caption and place
    // in the layout (read across, two a line); 0 for kinds it has no box for.
    int box = 0;
    const char* boxCaption = nullptr;
    int boxPlace = 0;
    // Annotations of these subtypes, and annotations whose action is of this
    // subtype, count as the kind; empty when none do.
    std::string_view annotationSubtypes[2] = {};
    std::string_view actionSubtype = {};
};

// Every kind with a row, in the order a query lists its kinds.
std::span<const ElementKindRow> ElementKindRows();

std::optional<host::PageElementKind> ContentKindForWord(std::string_view word);

// The kinds in the order queries list them, each once.
std::vector<host::PageElementKind> InQueryOrder(const std::vector<host::PageElementKind>& kinds);

// "word  what it finds" lines for --help.
std::string ContentKindWordsHelp();

}  // namespace tessera
