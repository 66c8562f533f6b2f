#include "shell/MenuItems.h"

#include "access/HelpFile.h"
#include "access/Host.h"
#include "shell/GuardedCommand.h"
#include "shell/SplitCommand.h"
#include "strings/LanguageTable.h"
#include "ui/AboutDialog.h"

namespace tessera {
namespace {

void SplitAction(void*) { SplitCommand(); }

void OpenHelp() {
    Host().commandLine->ReportOutcome(OpenHelpFile() ? host::RunOutcome::Done : host::RunOutcome::Failed);
}

struct PlugInMenuItem {
    const char* menu;
    host::MenuProcedure execute;
    host::EnableProcedure enabled;
};

constexpr PlugInMenuItem kEntries[] = {{host::kSplitMenu, &SplitAction, &SplitItemEnabled},
                                       {host::kHelpMenu, &HelpAction, nullptr},
                                       {host::kAboutMenu, &AboutAction, nullptr}};

}  // namespace

void InstallMenuItems(host::ExtensionId extension) {
    host::ViewerServices& viewer = *Host().viewer;
    const std::string title = LookupString("IDS_SPLIT_DOCUMENT_MENU_ENTRY");
    for (const PlugInMenuItem& entry : kEntries) {
        if (!viewer.HasMenu(entry.menu)) continue;
        const host::MenuItemId item = viewer.NewMenuItem(title, kMenuItemName, extension);
        viewer.SetExecuteProcedure(item, entry.execute, nullptr);
        if (entry.enabled) viewer.SetComputeEnabledProcedure(item, entry.enabled, nullptr);
        viewer.AddMenuItem(entry.menu, item, 9999);
    }
}

bool SplitItemEnabled(void*) { return Host().viewer->ActiveDocument() != host::kNoDocument; }

void HelpAction(void*) { RunGuardedCommand(&OpenHelp); }

void AboutAction(void*) { RunGuardedCommand(&ShowAboutDialog); }

}  // namespace tessera
