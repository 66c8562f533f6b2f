#include "access/AlertByKey.h"

#include "access/Host.h"
#include "strings/LanguageTable.h"

namespace tessera {

void AlertByKey(std::string_view key, std::string_view fallback) {
    Host().viewer->Alert(fallback.empty() ? LookupString(key) : LookupString(key, fallback));
}

}  // namespace tessera
