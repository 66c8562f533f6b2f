#include "access/SettingName.h"

#include "access/Host.h"
#include "strings/LanguageTable.h"

namespace tessera {

std::string SettingName(const SettingsRow& row) {
    if (!Host().commandLine || !Host().commandLine->ShowsWindows() || !row.caption)
        return row.option ? std::string("--") + row.option : std::string();
    std::string caption = LookupString("CAPTION " + std::string(row.caption), row.caption);
    if (caption.ends_with(":")) caption.pop_back();
    return "\u201C" + caption + "\u201D";
}

}  // namespace tessera
