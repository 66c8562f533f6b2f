#pragma once
// The services the linked-in plug-in calls, for one scope: the ones set before
// come back at its end, so that no test leaves the locator on services that
// are gone.
#include "access/Host.h"

namespace tessera::test {

class ScopedHost {
public:
    explicit ScopedHost(const host::HostServices& services) : previous_(SetHost(services)) {}
    ~ScopedHost() { SetHost(previous_); }
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    host::HostServices previous_;
};

}  // namespace tessera::test
