#include "runtime/CoreTables.h"

#include <algorithm>

namespace tessera::app {

host::Atom CoreTables::MakeAtom(const std::string& name) {
    const auto it = std::find(atoms_.begin(), atoms_.end(), name);
    if (it != atoms_.end()) return static_cast<host::Atom>(it - atoms_.begin());
    atoms_.push_back(name);
    return static_cast<host::Atom>(atoms_.size() - 1);
}

std::string CoreTables::AtomName(host::Atom atom) { return atom < atoms_.size() ? atoms_[atom] : std::string(); }

const void* CoreTables::GetTable(host::Atom name, std::uint32_t version) {
    const auto it = tables_.find(AtomName(name));
    if (it == tables_.end() || version > it->second.version) return nullptr;
    return it->second.table;
}

void CoreTables::Offer(const std::string& name, std::uint32_t version, const void* table) {
    tables_[name] = {version, table};
}

void CoreTables::Withdraw(const std::string& name) { tables_.erase(name); }

}  // namespace tessera::app
