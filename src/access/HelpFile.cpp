#include "access/HelpFile.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/ModulePath.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {

bool OpenHelpFile() {
    const std::string path = HelpFilePath();
    if (Host().windows->OpenWithShell(path)) return true;
    if (Host().files->Identity(path))
        Host().viewer->Alert(FormatText(LookupString("IDS_HELP_FILE_CANNOT_BE_OPENED"), {path}));
    else
        AlertByKey("IDS_HELP_FILE_IS_NOT_FOUND");
    return false;
}

}  // namespace tessera
