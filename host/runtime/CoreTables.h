#pragma once
// The Core table: atoms, and the service tables the host offers by name at a version.
#include <map>
#include <string>
#include <vector>

#include "host/CoreServices.h"

namespace tessera::app {

class CoreTables : public host::CoreServices {
public:
    host::Atom MakeAtom(const std::string& name) override;
    std::string AtomName(host::Atom atom) override;
    // Answers a request for a version up to the offered one.
    const void* GetTable(host::Atom name, std::uint32_t version) override;

    void Offer(const std::string& name, std::uint32_t version, const void* table);
    void Withdraw(const std::string& name);

private:
    struct Offered {
        std::uint32_t version;
        const void* table;
    };
    std::vector<std::string> atoms_{""};
    std::map<std::string, Offered> tables_;
};

}  // namespace tessera::app
