#include "ui/ContentKindWords.h"

#include <algorithm>

#include "model/PageElementKind.h"

namespace tessera {
namespace {

struct KindWord {
    std::string_view word;
    std::int32_t kind;
    std::string_view finds;
};

// In the dialog's order, which is the order a query lists its kinds in.
constexpr KindWord kKindWords[] = {
    {"annotation", kKindTextComment, "a text comment (Text or FreeText annotation)"},
    {"external-link", kKindExternalLink, "a link to a page in another document"},
    {"link", kKindLinkToPage, "a link to a page in the same document"},
    {"transition", kKindTransition, "a page transition"},
    {"transparency", kKindTransparency, "transparency effects"},
    {"rotated", kKindRotated, "a rotated page"},
    {"form", 4, "form elements (form XObjects or form fields)"},
    {"image", 3, "an image"},
    {"postscript", 5, "a PostScript object"},
    {"shading", 16, "a shading"},
    {"javascript", kKindJavaScript, "an action that runs JavaScript"},
    {"launch", kKindLaunch, "an action that launches an application or prints"},
    {"popup", kKindPopup, "a note comment (popup)"},
    {"reset-form", kKindResetForm, "a reset form action"},
    {"submit-form", kKindSubmitForm, "a submit form action"},
    {"uri", kKindWebLink, "a link to an internet address"},
    {"highlight", kKindHighlight, "highlighting"},
    {"stamp", kKindStamp, "a rubber stamp"},
};

}  // namespace

std::optional<std::int32_t> ContentKindForWord(std::string_view word) {
    for (const KindWord& k : kKindWords)
        if (k.word == word) return k.kind;
    return std::nullopt;
}

std::vector<std::int32_t> InDialogOrder(const std::vector<std::int32_t>& kinds) {
    std::vector<std::int32_t> ordered;
    for (const KindWord& k : kKindWords)
        if (std::find(kinds.begin(), kinds.end(), k.kind) != kinds.end()) ordered.push_back(k.kind);
    return ordered;
}

std::string ContentKindWordsHelp() {
    std::string help;
    for (const KindWord& k : kKindWords) {
        std::string line = "  " + std::string(k.word);
        line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
        help += line + std::string(k.finds) + "\n";
    }
    return help;
}

}  // namespace tessera
