#include "model/SplitSettings.h"

#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"

namespace tessera {

std::int32_t SecuritySettings::PermissionBits() const {
    if (AllowAll || (bSecurityCanCopy && bSecurityCanEdit && bSecurityCanEditNotes && bSecurityCanPrint)) return -1;
    return (bSecurityCanCopy ? 16 : 0) + (bSecurityCanEdit ? 8 : 0) + (bSecurityCanEditNotes ? 32 : 0) +
           (bSecurityCanPrint ? 4 : 0);
}

bool SecuritySettings::NeedsSecurity() const {
    const bool hasPassword = bPaswordProtect && (!Password.empty() || !PermPassword.empty());
    return PermissionBits() != -1 || hasPassword;
}

Result<> SecuritySettings::PasswordsFit() const {
    if (Password.size() > kMaxPasswordBytes) return Failure{LookupString("IDS_OPEN_PASSWORD_TOO_LONG")};
    if (PermPassword.size() > kMaxPasswordBytes) return Failure{LookupString("IDS_PERMISSIONS_PASSWORD_TOO_LONG")};
    return {};
}

SplitSettings SettingsForRun(const SplitSettings& working) {
    SplitSettings run = working;
    run.Security.AllowAll = false;
    run.Security.Password = TrimText(working.Security.Password);
    run.Security.PermPassword = TrimText(working.Security.PermPassword);
    const FilenameSettings initial;
    run.Filename.PageNumber = initial.PageNumber;
    run.Filename.StartingNumber = initial.StartingNumber;
    run.Filename.IncrementBy = initial.IncrementBy;
    run.Filename.NumPadWithZeroes = initial.NumPadWithZeroes;
    return run;
}

}  // namespace tessera
