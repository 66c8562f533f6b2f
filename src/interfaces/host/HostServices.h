#pragma once
// What the plug-in took from the host's tables at the handshake: one pointer
// per interface of every table (host/ServiceTables.h). The plug-in calls
// nothing else of the host.
#include "host/ServiceTables.h"

namespace tessera::host {

struct HostServices {
#define TESSERA_TABLE_SERVICES(name, Type, required, services) services(TESSERA_SERVICE_MEMBER)
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_SERVICES)
#undef TESSERA_TABLE_SERVICES
};

// The one mapping from the tables that hold interfaces to the services, for
// the plug-in after its import and for a host that links the plug-in in.
inline HostServices ServicesFromTables(const ServiceTables& tables) {
    HostServices services;
#define TESSERA_SERVICE_COPY(Type, member) services.member = table.member;
#define TESSERA_TABLE_COPY(name, Type, required, interfaces) \
    {                                                        \
        [[maybe_unused]] const Type& table = tables.name;    \
        interfaces(TESSERA_SERVICE_COPY)                     \
    }
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_COPY)
#undef TESSERA_TABLE_COPY
#undef TESSERA_SERVICE_COPY
    return services;
}

}  // namespace tessera::host
