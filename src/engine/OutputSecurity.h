#pragma once
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

// The security record for an output: the permission bits, and each password
// (trimmed, at most 255 characters) only when password protection is on and
// it is not empty.
host::SecurityRecord MakeSecurityRecord(const SecuritySettings& security);

// Protects the output when the settings ask for security at all.
void ApplySecurity(DocumentHandle& output, const SecuritySettings& security);

}  // namespace tessera
