#pragma once
// Reaching into stored settings: tests edit one cabinet deep inside a record.
#include <initializer_list>

#include "host/Cabinet.h"

namespace tessera::test {

// The cabinet at the path of keys below c; every key must name a cabinet.
inline host::Cabinet& At(host::Cabinet& c, std::initializer_list<const char*> path) {
    host::Cabinet* at = &c;
    for (const char* key : path) at = &std::get<host::CabinetBox>(*at->Find(key)).Get();
    return *at;
}

}  // namespace tessera::test
