#include "ui/ContentKindWords.h"

#include <algorithm>

namespace tessera {
namespace {

using enum host::PageElementKind;

struct KindWord {
    std::string_view word;
    host::PageElementKind kind;
    std::string_view finds;
};

// In the dialog's order, which is the order a query lists its kinds in.
constexpr KindWord Words[] = {
    {"annotation", TextComment, "a text comment (Text or FreeText annotation)"},
    {"external-link", ExternalLink, "a link to a page in another document"},
    {"link", LinkToPage, "a link to a page in the same document"},
    {"transition", Transition, "a page transition"},
    {"transparency", Transparency, "transparency effects"},
    {"rotated", Rotated, "a rotated page"},
    {"form", Form, "form elements (form XObjects or form fields)"},
    {"image", Image, "an image"},
    {"postscript", PostScript, "a PostScript object"},
    {"shading", Shading, "a shading"},
    {"javascript", JavaScript, "an action that runs JavaScript"},
    {"launch", Launch, "an action that launches an application or prints"},
    {"popup", Popup, "a note comment (popup)"},
    {"reset-form", ResetForm, "a reset form action"},
    {"submit-form", SubmitForm, "a submit form action"},
    {"uri", WebLink, "a link to an internet address"},
    {"highlight", Highlight, "highlighting"},
    {"stamp", Stamp, "a rubber stamp"},
};

}  // namespace

std::optional<host::PageElementKind> ContentKindForWord(std::string_view word) {
    for (const KindWord& k : Words)
        if (k.word == word) return k.kind;
    return std::nullopt;
}

std::vector<host::PageElementKind> InDialogOrder(const std::vector<host::PageElementKind>& kinds) {
    std::vector<host::PageElementKind> ordered;
    for (const KindWord& k : Words)
        if (std::find(kinds.begin(), kinds.end(), k.kind) != kinds.end()) ordered.push_back(k.kind);
    return ordered;
}

std::string ContentKindWordsHelp() {
    std::string help;
    for (const KindWord& k : Words) {
        std::string line = "  " + std::string(k.word);
        line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
        help += line + std::string(k.finds) + "\n";
    }
    return help;
}

}  // namespace tessera
