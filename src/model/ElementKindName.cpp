#include "model/ElementKindName.h"

#include <string_view>

#include "strings/LanguageTable.h"

namespace tessera {
namespace {

using enum host::PageElementKind;

struct KindName {
    host::PageElementKind kind;
    std::string_view key;
    std::string_view english;
};

constexpr KindName kKindNames[] = {
    {Image, "IDS_IMAGE", "Image"},
    {Form, "IDS_FORM", "Form"},
    {PostScript, "IDS_POSTSCRIPT_OBJECT", "PostScript Object"},
    {Shading, "IDS_SHADING", "Shading"},
    {TextComment, "IDS_TEXT_ANNOTATION", "Annotation"},
    {LinkToPage, "IDS_LINK_TO_PAGE", "Link to page"},
    {ExternalLink, "IDS_EXTERNAL_LINK", "External Link"},
    {Transition, "IDS_PAGE_TRANSITION", "Page Transition"},
    {Transparency, "IDS_TRANSPARENCY", "Transparency"},
    {Rotated, "IDS_ROTATED_PAGE", "Rotated Page"},
    {WebLink, "IDS_WEB_LINK", "Web Link"},
    {Popup, "IDS_POPUP_COMMENT", "Popup Comment"},
    {SubmitForm, "IDS_SUBMIT_FORM", "Submit Form Action"},
    {ResetForm, "IDS_RESET_FORM", "Reset Form Action"},
    {JavaScript, "IDS_JAVASCRIPT_CODE", "JavaScript Code"},
    {Launch, "IDS_LAUNCH_ACTION", "Launch Action"},
    {PlaySound, "IDS_PLAY_SOUND", "Play Sound"},
    {PlayMovie, "IDS_PLAY_MOVIE", "Play Movie"},
    {Highlight, "IDS_HIGHLIGHT", "Highlight"},
    {Stamp, "IDS_RUBBER_STAMP", "Rubber Stamp"},
};

}  // namespace

std::string ElementKindName(host::PageElementKind kind) {
    for (const KindName& k : kKindNames)
        if (k.kind == kind) return LookupString(k.key, k.english);
    return LookupString("IDS_ELEMENT");
}

}  // namespace tessera
