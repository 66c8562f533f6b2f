#include "model/PageElementKind.h"

#include <string_view>

#include "strings/LanguageTable.h"

namespace tessera {
namespace {

struct KindName {
    std::int32_t kind;
    std::string_view key;
    std::string_view english;
};

constexpr KindName kKindNames[] = {
    {3, "IDS_IMAGE", "Image"},
    {4, "IDS_FORM", "Form"},
    {5, "IDS_POSTSCRIPT_OBJECT", "PostScript Object"},
    {16, "IDS_SHADING", "Shading"},
    {29, "IDS_TEXT_ANNOTATION", "Annotation"},
    {30, "IDS_LINK_TO_PAGE", "Link to page"},
    {31, "IDS_EXTERNAL_LINK", "External Link"},
    {32, "IDS_PAGE_TRANSITION", "Page Transition"},
    {33, "IDS_TRANSPARENCY", "Transparency"},
    {34, "IDS_ROTATED_PAGE", "Rotated Page"},
    {35, "IDS_WEB_LINK", "Web Link"},
    {36, "IDS_POPUP_COMMENT", "Popup Comment"},
    {37, "IDS_SUBMIT_FORM", "Submit Form Action"},
    {38, "IDS_RESET_FORM", "Reset Form Action"},
    {39, "IDS_JAVASCRIPT_CODE", "JavaScript Code"},
    {40, "IDS_LAUNCH_ACTION", "Launch Action"},
    {41, "IDS_PLAY_SOUND", "Play Sound"},
    {42, "IDS_PLAY_MOVIE", "Play Movie"},
    {43, "IDS_HIGHLIGHT", "Highlight"},
    {44, "IDS_RUBBER_STAMP", "Rubber Stamp"},
};

}  // namespace

std::string ElementKindName(std::int32_t kind) {
    for (const KindName& k : kKindNames)
        if (k.kind == kind) return LookupString(k.key, k.english);
    return LookupString("IDS_ELEMENT");
}

}  // namespace tessera
