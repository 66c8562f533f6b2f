#include "access/Host.h"

#include <cassert>
#include <utility>

namespace tessera {
namespace {

host::HostServices g_host;
std::array<ImportedTable, host::kTableCount> g_tables;

constexpr std::uint32_t kVersionList[] = {0x20001, 0x20002, 0x20003, 0x40000, 0x40005, 0x50000};

ImportedTable ImportTable(host::CoreServices& core, const char* name) {
    const host::Atom atom = core.MakeAtom(name);
    for (auto v = std::rbegin(kVersionList); v != std::rend(kVersionList) && *v >= 0x50000; ++v)
        if (const void* table = core.GetTable(atom, *v)) return {table, *v};
    return {};
}

template <class Table>
const Table* Slot(int index) {
    return static_cast<const Table*>(g_tables[static_cast<std::size_t>(index)].table);
}

void ServicesFromTables() {
    SetHost(host::ServicesFromTables(*Slot<host::AcroSupportTable>(0), *Slot<host::CosTable>(1), *Slot<host::PDModelTable>(2),
                                     *Slot<host::PDFEditWriteTable>(3), *Slot<host::PDFEditReadTable>(4),
                                     *Slot<host::PDSysFontTable>(5), *Slot<host::PagePDEContentTable>(6),
                                     *Slot<host::AcroViewTable>(7), *Slot<host::WinTable>(10)));
}

}  // namespace

const host::HostServices& Host() {
    assert(g_host.documents && g_host.viewer && "host services used before import");
    return g_host;
}

host::HostServices SetHost(const host::HostServices& services) { return std::exchange(g_host, services); }

bool ImportHostTables(host::CoreServices& core) {
    g_tables = {};
    for (int i = 0; i < host::kTableCount; ++i) {
        g_tables[static_cast<std::size_t>(i)] = ImportTable(core, host::kTableNames[i]);
        if (i < host::kRequiredTables && !g_tables[static_cast<std::size_t>(i)].table) return false;
    }
    ServicesFromTables();
    return true;
}

const std::array<ImportedTable, host::kTableCount>& ImportedTables() { return g_tables; }

}  // namespace tessera
