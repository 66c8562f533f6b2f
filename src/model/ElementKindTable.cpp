#include "model/ElementKindTable.h"

#include <algorithm>

namespace tessera {
namespace {

using Kind = host::PageElementKind;

const ElementKindRow kElementKindRows[] = {
    {Kind::TextComment,
     "IDS_TEXT_ANNOTATION",
     "Annotation",
     "annotation",
     "a text comment (Text or FreeText annotation)",
     1081,
     "Text comment (annotation)",
     4,
     {"Text", "FreeText"}},
    {Kind::ExternalLink,
     "IDS_EXTERNAL_LINK",
     "External Link",
     "external-link",
     "a link to a page in another document",
     1086,
     "Link to a page in another document",
     6,
     {},
     "GoToR"},
    {Kind::LinkToPage,
     "IDS_LINK_TO_PAGE",
     "Link to page",
     "link",
     "a link to a page in the same document",
     1082,
     "Link to a page in the same document",
     5,
     {},
     "GoTo"},
    {Kind::Transition, "IDS_PAGE_TRANSITION", "Page Transition", "transition", "a page transition", 1083,
     "Page transition", 7},
    {Kind::Transparency, "IDS_TRANSPARENCY", "Transparency", "transparency", "transparency effects", 1084,
     "Transparency effects", 8},
    {Kind::Rotated, "IDS_ROTATED_PAGE", "Rotated Page", "rotated", "a rotated page", 1085, "Page is rotated", 9},
    {Kind::Form,
     "IDS_FORM",
     "Form",
     "form",
     "form elements (form XObjects or form fields)",
     1078,
     "Form elements",
     1,
     {"Widget"}},
    {Kind::Image, "IDS_IMAGE", "Image", "image", "an image", 1077, "Image", 0},
    {Kind::PostScript, "IDS_POSTSCRIPT_OBJECT", "PostScript Object", "postscript", "a PostScript object", 1079,
     "Postscript object", 2},
    {Kind::Shading, "IDS_SHADING", "Shading", "shading", "a shading", 1080, "Shading", 3},
    {Kind::JavaScript,
     "IDS_JAVASCRIPT_CODE",
     "JavaScript Code",
     "javascript",
     "an action that runs JavaScript",
     1091,
     "Executes JavaScript code",
     14,
     {},
     "JavaScript"},
    {Kind::Launch,
     "IDS_LAUNCH_ACTION",
     "Launch Action",
     "launch",
     "an action that launches an application or prints",
     1090,
     "Launches an application or prints",
     15,
     {},
     "Launch"},
    {Kind::Popup,
     "IDS_POPUP_COMMENT",
     "Popup Comment",
     "popup",
     "a note comment (popup)",
     1088,
     "Note comment (popup)",
     11,
     {"Popup"}},
    {Kind::ResetForm,
     "IDS_RESET_FORM",
     "Reset Form Action",
     "reset-form",
     "a reset form action",
     1093,
     "Reset form action",
     13,
     {},
     "ResetForm"},
    {Kind::SubmitForm,
     "IDS_SUBMIT_FORM",
     "Submit Form Action",
     "submit-form",
     "a submit form action",
     1092,
     "Submit form action",
     12,
     {},
     "SubmitForm"},
    {Kind::WebLink,
     "IDS_WEB_LINK",
     "Web Link",
     "uri",
     "a link to an internet address",
     1089,
     "Link to an internet address (URI)",
     10,
     {},
     "URI"},
    {Kind::Highlight,
     "IDS_HIGHLIGHT",
     "Highlight",
     "highlight",
     "highlighting",
     1094,
     "Highlighting",
     16,
     {"Highlight"}},
    {Kind::Stamp, "IDS_RUBBER_STAMP", "Rubber Stamp", "stamp", "a rubber stamp", 1095, "Rubber stamp", 17, {"Stamp"}},
    {Kind::PlaySound, "IDS_PLAY_SOUND", "Play Sound"},
    {Kind::PlayMovie, "IDS_PLAY_MOVIE", "Play Movie"},
};

}  // namespace

std::span<const ElementKindRow> ElementKindRows() { return kElementKindRows; }

std::optional<host::PageElementKind> ContentKindForWord(std::string_view word) {
    for (const ElementKindRow& row : kElementKindRows)
        if (row.word && row.word == word) return row.kind;
    return std::nullopt;
}

std::vector<host::PageElementKind> InQueryOrder(const std::vector<host::PageElementKind>& kinds) {
    std::vector<host::PageElementKind> ordered;
    for (const ElementKindRow& row : kElementKindRows)
        if (row.word && std::find(kinds.begin(), kinds.end(), row.kind) != kinds.end()) ordered.push_back(row.kind);
    return ordered;
}

std::string ContentKindWordsHelp() {
    std::string help;
    for (const ElementKindRow& row : kElementKindRows) {
        if (!row.word) continue;
        std::string line = "  " + std::string(row.word);
        line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
        help += line + row.finds + "\n";
    }
    return help;
}

}  // namespace tessera
