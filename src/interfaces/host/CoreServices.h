#pragma once
// The Core table the host hands over in the handshake: atoms and the lookup
// of the other service tables by name and version.
#include <cstdint>
#include <string>

#include "host/Handshake.h"

namespace tessera::host {

class CoreServices {
public:
    virtual ~CoreServices() = default;
    virtual Atom MakeAtom(const std::string& name) = 0;
    virtual std::string AtomName(Atom atom) = 0;
    // The table of that name when the host offers it at that version or a
    // later compatible one; null otherwise.
    virtual const void* GetTable(Atom name, std::uint32_t version) = 0;
};

}  // namespace tessera::host
