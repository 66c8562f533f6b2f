#include "ui/AboutDialog.h"

#include "access/Host.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

#ifndef TESSERA_VERSION_MAJOR
#define TESSERA_VERSION_MAJOR 0
#define TESSERA_VERSION_MINOR 0
#endif

namespace tessera {

AboutTexts MakeAboutTexts() {
    AboutTexts about;
    about.title = "About Tessera Plug-in";
    about.lines = {
        LookupString("IDS_TESSERA_PRO_PLUGIN"),
        "Split documents into multiple files by bookmarks, page count, page ranges and content. Extract pages that "
        "match text patterns or contain specific elements such as forms, images and links. Apply security settings "
        "and watermarks to the output. ",
        "Tessera Plug-in for the tessera PDF host",
        FormatText("Version %d.%d, Build date: %s",
                   {std::int64_t{TESSERA_VERSION_MAJOR}, std::int64_t{TESSERA_VERSION_MINOR}, std::string(__DATE__)}),
        "",
    };
    return about;
}

void ShowAboutDialog() {
    const AboutTexts about = MakeAboutTexts();
    Host().windows->ShowInformation(about.title, about.lines);
}

}  // namespace tessera
