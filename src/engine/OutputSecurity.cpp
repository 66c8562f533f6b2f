#include "engine/OutputSecurity.h"

#include "access/Host.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

std::string UsablePassword(const std::string& text) { return CutToCharacters(TrimText(text), 255); }

}  // namespace

host::SecurityRecord MakeSecurityRecord(const SecuritySettings& security) {
    host::SecurityRecord record;
    record.permissions = security.Allowed();
    const std::string open = UsablePassword(security.Password);
    const std::string permissions = UsablePassword(security.PermPassword);
    record.hasOpenPassword = security.bPaswordProtect && !open.empty();
    if (record.hasOpenPassword) record.openPassword = open;
    record.hasPermissionsPassword = security.bPaswordProtect && !permissions.empty();
    if (record.hasPermissionsPassword) record.permissionsPassword = permissions;
    return record;
}

void ApplySecurity(DocumentHandle& output, const SecuritySettings& security) {
    if (!security.NeedsSecurity()) return;
    Host().documents->SetSecurity(output.Doc(), MakeSecurityRecord(security));
    Host().documents->SetFlags(output.Doc(), output.Flags() | host::kDocFlagFullSave);
}

}  // namespace tessera
