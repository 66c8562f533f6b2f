#include "shell/Handshake.h"

#include "access/Host.h"
#include "access/ModulePath.h"
#include "host/CoreServices.h"
#include "host/PlugInNames.h"
#include "options/SplitOptionTable.h"
#include "shell/MenuItems.h"
#include "shell/PlugInSession.h"
#include "shell/SplitBatchCommand.h"
#include "shell/UnattendedRun.h"
#include "strings/LanguageTable.h"

namespace tessera {
namespace {

bool ExportTables() { return true; }  // the plug-in offers no tables of its own

bool ImportAndRegister() {
    Host().viewer->RegisterNotification(0, Session().extension, &UnattendedSequenceRun, nullptr);
    return true;
}

bool Init() {
    InstallMenuItems(Session().extension);
    Host().commandLine->DeclareSplitOptions(SplitOptionSpecs(), SplitOptionsHelp());
    std::vector<std::pair<std::string, std::string>> hostTexts;
    for (const auto& [key, text] : TheLanguageTable().Entries())
        if (key.starts_with("HOST_")) hostTexts.emplace_back(key, text);
    Host().commandLine->DeclareHostTexts(hostTexts);
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
    if (data) Session().hostData = *data;
    Session().windows = std::move(windows);
    *version = hostVersion < host::kHandshakeVersion ? hostVersion : host::kHandshakeVersion;
    *handshake = &HandshakeProcedure;
    return true;
}

bool HandshakeProcedure(std::uint32_t version, host::HandshakeRecord* record) {
    if (version != host::kHandshakeVersion || !record || record->version != host::kHandshakeVersion) return false;
    Session().extension = record->extension;
    Session().core = record->core;
    Session().coreVersion = host::kHandshakeVersion;
    if (!Session().core || !ImportHostTables(*Session().core)) return false;
    // The texts are needed from here on; the missing-file messages need the
    // host's message box, which the import has just brought.
    for (const std::string& name : LoadLanguageTables(ModuleFolder()))
        Host().windows->MessageBox(name + " file is missing. Please install correct version of the software.");
    record->setup = &SetupProcedure;
    return true;
}

bool SetupProcedure(std::uint32_t version, host::SetupRecord* record) {
    if (version != host::kHandshakeVersion || !record) return false;
    record->name = Session().core->MakeAtom(host::kPlugInName);
    record->exportTables = &ExportTables;
    record->importAndRegister = &ImportAndRegister;
    record->init = &Init;
    record->unload = &Unload;
    return true;
}

host::ExtensionId ExtensionIdentity() { return Session().extension; }

std::uintptr_t HostMainWindow() { return Session().hostData.mainWindow; }

WindowFactory* Windows() { return Session().windows.get(); }

void HandWindows(std::unique_ptr<WindowFactory> windows) { Session().windows = std::move(windows); }

}  // namespace tessera
