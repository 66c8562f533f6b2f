#include "shell/Handshake.h"

#include "access/Host.h"
#include "access/ModulePath.h"
#include "host/CoreServices.h"
#include "shell/SplitBatchCommand.h"
#include "shell/UnattendedRun.h"
#include "shell/MenuItems.h"
#include "strings/LanguageTable.h"
#include "ui/SplitOptionTable.h"

namespace tessera {
namespace {

struct HandshakeState {
    host::HostData hostData;
    host::ExtensionId extension = 0;
    host::CoreServices* core = nullptr;
    std::uint32_t coreVersion = 0;
    std::unique_ptr<WindowFactory> windows;
};
HandshakeState g_state;

bool ExportTables() { return true; }  // the plug-in offers no tables of its own

bool ImportAndRegister() {
    Host().viewer->RegisterNotification(0, g_state.extension, &UnattendedSequenceRun, nullptr);
    return true;
}

bool Init() {
    InstallMenuItems(g_state.extension);
    Host().commandLine->DeclareSplitOptions(SplitOptionSpecs(), SplitOptionsHelp());
    InstallBatchCommand();
    return true;
}

bool Unload() {
    RemoveBatchCommand();
    return true;
}

}  // namespace

bool PlugInEntry(std::uint32_t hostVersion, std::uint32_t* version, host::HandshakeProcedure* handshake,
                 const host::HostData* data, std::unique_ptr<WindowFactory> windows) {
    if (data) g_state.hostData = *data;
    g_state.windows = std::move(windows);
    *version = hostVersion < host::kHandshakeVersion ? hostVersion : host::kHandshakeVersion;
    *handshake = &HandshakeProcedure;
    return true;
}

bool HandshakeProcedure(std::uint32_t version, host::HandshakeRecord* record) {
    if (version != host::kHandshakeVersion || !record || record->version != host::kHandshakeVersion) return false;
    g_state.extension = record->extension;
    g_state.core = record->core;
    g_state.coreVersion = host::kHandshakeVersion;
    if (!g_state.core || !ImportHostTables(*g_state.core)) return false;
    // The texts are needed from here on; the missing-file messages need the
    // host's message box, which the import has just brought.
    for (const std::string& name : LoadLanguageTables(ModuleFolder()))
        Host().windows->MessageBox(name + " file is missing. Please install correct version of the software.");
    record->setup = &SetupProcedure;
    return true;
}

bool SetupProcedure(std::uint32_t version, host::SetupRecord* record) {
    if (version != host::kHandshakeVersion || !record) return false;
    record->name = g_state.core->MakeAtom("KORB:Tessera");
    record->exportTables = &ExportTables;
    record->importAndRegister = &ImportAndRegister;
    record->init = &Init;
    record->unload = &Unload;
    return true;
}

host::ExtensionId ExtensionIdentity() { return g_state.extension; }

std::uintptr_t HostMainWindow() { return g_state.hostData.mainWindow; }

WindowFactory* Windows() { return g_state.windows.get(); }

void HandWindows(std::unique_ptr<WindowFactory> windows) { g_state.windows = std::move(windows); }

}  // namespace tessera
