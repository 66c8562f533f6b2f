#include "access/Host.h"

#include <cassert>
#include <type_traits>
#include <utility>

namespace tessera {
namespace {

host::HostServices g_host;
std::array<ImportedTable, host::kTableCount> g_tables;

constexpr std::uint32_t kVersionList[] = {0x20001, 0x20002, 0x20003, 0x40000, 0x40005, 0x50000, 0x50001, 0x50002};

ImportedTable ImportTable(host::CoreServices& core, const char* name) {
    const host::Atom atom = core.MakeAtom(name);
    for (auto v = std::rbegin(kVersionList); v != std::rend(kVersionList) && *v >= host::kTableVersion; ++v)
        if (const void* table = core.GetTable(atom, *v)) return {table, *v};
    return {};
}

}  // namespace

const host::HostServices& Host() {
    assert(g_host.documents && g_host.viewer && "host services used before import");
    return g_host;
}

host::HostServices SetHost(const host::HostServices& services) { return std::exchange(g_host, services); }

bool ImportHostTables(host::CoreServices& core) {
    g_tables = {};
    host::ServiceTables imported;
    std::size_t next = 0;
    bool complete = true;
    host::ForEachTable(imported, [&](const char* name, auto& table, bool required) {
        if (!complete) return;
        const ImportedTable found = g_tables[next++] = ImportTable(core, name);
        if (found.table)
            table = *static_cast<const std::remove_reference_t<decltype(table)>*>(found.table);
        else
            complete = !required;
    });
    if (complete) SetHost(host::ServicesFromTables(imported));
    return complete;
}

}  // namespace tessera
