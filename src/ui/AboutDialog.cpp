#include "ui/AboutDialog.h"

#include "access/Host.h"
#include "access/ProductVersion.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

enum AboutLine { ProductLine, Description, HostLine, VersionLine, InformationLine };
constexpr ControlId kPicture = 1096, kProductGroup = 1107, kVersion = 1097, kInformation = 1098;

}  // namespace

AboutTexts MakeAboutTexts() {
    AboutTexts about;
    about.title = "About Tessera Plug-in";
    about.lines = {
        LookupString("IDS_TESSERA_PRO_PLUGIN"),
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence, in three literals
        "Split documents into multiple files by bookmarks, page count, page ranges and content. Extract pages that "
        "match text patterns or contain specific elements such as forms, images and links. Apply security settings "
        "and watermarks to the output.",
        "Tessera Plug-in for the tessera PDF host",
        FormatText(LookupString("IDS_ABOUT_VERSION"), {kVersionMajor, kVersionMinor, std::string(__DATE__)}),
        "",
    };
    return about;
}

void ShowAboutDialog() {
    const AboutTexts about = MakeAboutTexts();
    Host().windows->ShowInformation(about.title, about.lines);
}

std::string AboutDialog::Caption() const { return MakeAboutTexts().title; }

std::vector<ControlSpec> AboutDialog::Controls() const {
    // The fixed texts are the command line's too; the ones set at opening start empty.
    const AboutTexts about = MakeAboutTexts();
    return {
        {kPicture, ControlKind::Picture, "", 0, false, 0, Picture::Product},
        {0, ControlKind::Text, about.lines[Description], 0, true},
        {kProductGroup, ControlKind::Group, ""},
        {0, ControlKind::Text, about.lines[HostLine], kProductGroup},
        {kVersion, ControlKind::Text, "", kProductGroup},
        {kInformation, ControlKind::Text, "", kProductGroup},
        {kOkButton, ControlKind::Button, "OK"},
    };
}

void AboutDialog::Open(DialogView& view) {
    const AboutTexts about = MakeAboutTexts();
    view.SetText(kProductGroup, about.lines[ProductLine]);
    view.SetText(kVersion, about.lines[VersionLine]);
    view.SetText(kInformation, about.lines[InformationLine]);
}

}  // namespace tessera
