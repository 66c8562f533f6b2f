#include "model/SplitSettings.h"

#include "strings/Utf8Text.h"

namespace tessera {

host::Permissions SecuritySettings::Allowed() const {
    using host::Permission;
    if (AllowAll || (bSecurityCanCopy && bSecurityCanEdit && bSecurityCanEditNotes && bSecurityCanPrint)) return {};
    host::Permissions allowed(0);
    if (bSecurityCanCopy) allowed = allowed.With(Permission::Copy);
    if (bSecurityCanEdit) allowed = allowed.With(Permission::Modify);
    if (bSecurityCanEditNotes) allowed = allowed.With(Permission::Annotate);
    if (bSecurityCanPrint) allowed = allowed.With(Permission::Print);
    return allowed;
}

bool SecuritySettings::NeedsSecurity() const {
    const bool hasPassword = bPaswordProtect && (!Password.empty() || !PermPassword.empty());
    return !Allowed().AllowsEverything() || hasPassword;
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
