#include "viewer/MenuBar.h"

#include <algorithm>

#include "host/HostError.h"
#include "host/PlugInNames.h"

namespace tessera::app {

MenuBar::MenuBar() {
    for (const std::string& menu : MenuNames()) menus_[menu];
}

host::MenuItemId MenuBar::NewItem(const std::string& title, const std::string& name, host::ExtensionId owner) {
    items_.push_back({title, name, owner});
    return static_cast<host::MenuItemId>(items_.size());
}

void MenuBar::SetExecute(host::MenuItemId item, host::MenuProcedure procedure, void* data) {
    if (item == 0 || item > items_.size()) throw host::HostError(host::kErrorBadArgument, "no such menu item");
    items_[item - 1].execute = procedure;
    items_[item - 1].executeData = data;
}

void MenuBar::SetComputeEnabled(host::MenuItemId item, host::EnableProcedure procedure, void* data) {
    if (item == 0 || item > items_.size()) throw host::HostError(host::kErrorBadArgument, "no such menu item");
    items_[item - 1].enabled = procedure;
    items_[item - 1].enabledData = data;
}

void MenuBar::Add(const std::string& menu, host::MenuItemId item, int position) {
    auto& entries = menus_.at(menu);
    const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(std::max(position, 0)), entries.size());
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), item);
}

std::vector<const MenuBar::Item*> MenuBar::Items(const std::string& menu) const {
    std::vector<const Item*> items;
    if (const auto it = menus_.find(menu); it != menus_.end())
        for (host::MenuItemId id : it->second) items.push_back(&items_[id - 1]);
    return items;
}

bool MenuBar::Execute(const std::string& menu, const std::string& name) const {
    for (const Item* item : Items(menu)) {
        if (item->name != name || !item->execute || !IsEnabled(*item)) continue;
        item->execute(item->executeData);
        return true;
    }
    return false;
}

const std::vector<std::string>& MenuBar::MenuNames() {
    static const std::vector<std::string> names = {host::kSplitMenu, host::kHelpMenu, host::kAboutMenu};
    return names;
}

}  // namespace tessera::app
