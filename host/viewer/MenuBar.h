#pragma once
// The host's menus and the items extensions add to them.
#include <map>
#include <string>
#include <vector>

#include "host/ViewerServices.h"

namespace tessera::app {

class MenuBar {
public:
    MenuBar();  // the menus "Extensions", "UsingExtensions" and "AboutExtensions"

    bool HasMenu(const std::string& menu) const { return menus_.count(menu) > 0; }
    host::MenuItemId NewItem(const std::string& title, const std::string& name, host::ExtensionId owner);
    void SetExecute(host::MenuItemId item, host::MenuProcedure procedure, void* data);
    void SetComputeEnabled(host::MenuItemId item, host::EnableProcedure procedure, void* data);
    void Add(const std::string& menu, host::MenuItemId item, int position);

    struct Item {
        std::string title, name;
        host::ExtensionId owner = 0;
        host::MenuProcedure execute = nullptr;
        void* executeData = nullptr;
        host::EnableProcedure enabled = nullptr;
        void* enabledData = nullptr;
    };
    // The items of a menu in order; none for an unknown menu.
    std::vector<const Item*> Items(const std::string& menu) const;
    bool IsEnabled(const Item& item) const { return !item.enabled || item.enabled(item.enabledData); }
    // Runs the named item of the menu when it is there and enabled.
    bool Execute(const std::string& menu, const std::string& name) const;
    // The host's menus, in their order.
    static const std::vector<std::string>& MenuNames();

private:
    std::vector<Item> items_;
    std::map<std::string, std::vector<host::MenuItemId>> menus_;
};

}  // namespace tessera::app
