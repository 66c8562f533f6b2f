#include "shell/SplitBatchCommand.h"

#include "access/Host.h"
#include "engine/OutputProducer.h"
#include "engine/RunSplit.h"
#include "host/HostError.h"
#include "model/ProfileCabinet.h"
#include "shell/SplitCommand.h"
#include "strings/LanguageTable.h"
#include "ui/ModalDialogs.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

using host::Cabinet;
using host::CommandId;
using host::CommandStatus;

// The command's own state: its default parameters, made by the initialise callback.
struct SplitBatchCommand {
    std::optional<Cabinet> defaults;
    WrittenFiles writtenFiles;  // by every split of this process's batch runs
};
SplitBatchCommand g_command;

// The batch's written files count for the splits made while it lives.
struct BatchFilesScope {
    BatchFilesScope() { SetBatchWrittenFiles(&g_command.writtenFiles); }
    ~BatchFilesScope() { SetBatchWrittenFiles(nullptr); }
    BatchFilesScope(const BatchFilesScope&) = delete;
    BatchFilesScope& operator=(const BatchFilesScope&) = delete;
};

// Entries of `defaults` that `into` lacks are added, inside nested cabinets
// too; but a text missing from a cabinet that is there was saved empty (saving
// drops empty values), and stays empty as it does in a profile.
void AddMissingEntries(Cabinet& into, const Cabinet& defaults) {
    for (const auto& [key, value] : defaults.Entries()) {
        host::CabinetValue* mine = into.Find(key);
        if (!mine) {
            if (!std::holds_alternative<std::string>(value)) into.Put(key, value);
        } else if (auto* box = std::get_if<host::CabinetBox>(mine); box && std::holds_alternative<host::CabinetBox>(value)) {
            AddMissingEntries(box->Get(), std::get<host::CabinetBox>(value).Get());
        }
    }
}

bool Initialise() {
    try {
        g_command.defaults.emplace();
        SaveSettingsToCabinet(SplitSettings(), *g_command.defaults);
        return true;
    } catch (const host::HostError&) {
        return false;
    }
}

void Terminate() { g_command.defaults.reset(); }

// The host's registry knows every registered handler by its name already.
void RegisterGlobally() {}

void Reset(CommandId command) { Host().batch->SetValue(command, host::kParams, Cabinet{}); }

void SetParams(CommandId command, const Cabinet& params) {
    Cabinet copy = params;
    if (g_command.defaults) AddMissingEntries(copy, *g_command.defaults);
    Host().batch->SetValue(command, host::kParams, copy);
    Host().batch->SetValue(command, host::kParamsDesc, std::nullopt);
}

void GetParams(CommandId command, Cabinet& params) {
    params.Clear();
    try {
        params = Host().batch->Value(command, host::kParams).value_or(Cabinet{});
    } catch (const host::HostError&) {
        params.Clear();
    }
}

void GetProperties(CommandId command, Cabinet& properties) {
    const bool all = properties.Size() == 0;
    const auto put = [&](const char* key, host::CabinetValue value) {
        if (all || properties.Has(key)) properties.Put(key, std::move(value));
    };
    put("GroupTitle", std::string("Document"));
    put("CanBatch", true);
    put("CanDescribeParams", true);
    put("CanShowDialog", true);
    put("GenericTitle", std::string("Split Document"));
    put("Title", std::string("Split Document"));
    if (!all && !properties.Has(host::kParamsDesc)) return;
    // The parameters describe nothing of themselves: the description stays empty.
    std::optional<Cabinet> description = Host().batch->Value(command, host::kParamsDesc);
    if (!description) {
        description.emplace();
        Host().batch->SetValue(command, host::kParamsDesc, *description);
    }
    properties.PutCabinet(host::kParamsDesc, *description);
}

// True when the user accepted and the settings went back into `params`.
bool EditParameters(Cabinet& params) {
    SplitSettings settings;
    // A refused tree still opens the dialog, with what loaded before the refusal.
    static_cast<void>(LoadSettingsFromCabinet(settings, params));
    const DocumentHandle noDocument;
    SplitSettingsDialog dialog(noDocument, 0, {});
    dialog.ApplySettings(settings);
    if (!RunModalDialog(dialog)) return false;
    try {
        SaveSettingsToCabinet(dialog.Result(), params);
    } catch (const host::HostError&) {
        return false;
    }
    return true;
}

CommandStatus ShowDialog(CommandId command) {
    try {
        Cabinet params;
        GetParams(command, params);
        if (!EditParameters(params)) return CommandStatus::Cancelled;
        Host().batch->SetValue(command, host::kParams, params);
        return CommandStatus::Ready;
    } catch (const host::HostError&) {
        return CommandStatus::Error;
    }
}

void StoreResults(CommandId command, bool completed, std::size_t written, std::size_t withoutPages,
                  const std::string& reason) {
    Cabinet results;
    results.Put("Completed", completed);
    results.Put("Written", static_cast<std::int32_t>(written));
    results.Put("WithoutPages", static_cast<std::int32_t>(withoutPages));
    results.Put("Reason", reason);
    Host().batch->SetValue(command, host::kResults, results);
}

// The split of one document with the command's parameters. The run gets its
// own copy of the settings, so that the permission boxes always apply.
bool Execute(CommandId command, host::DocId doc, const Cabinet& params, host::ProgressMonitor& monitor) {
    DocumentHandle source(doc, DocumentHandle::Ownership::Borrowed);
    source.SetMonitor(&monitor);
    SplitSettings loaded;
    if (const Result<> refused = LoadSettingsFromCabinet(loaded, params); !refused) {
        StoreResults(command, false, 0, 0, "its settings were refused: " + refused.Reason());
        return false;
    }
    if (const Result<> allowed = SplitAllowed(source); !allowed) {
        StoreResults(command, false, 0, 0, allowed.Reason());
        return false;
    }
    // The run checks the settings as every route does, and its refusal is the file's line.
    SplitSettings settings = SettingsForRun(loaded);
    const BatchFilesScope batchFiles;
    const SplitResult result = RunSplit(settings, source);
    // The file's line says what stopped it when the run knows.
    const std::string reason = !result.refusal.empty() ? result.refusal
                               : LookupString("IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
    StoreResults(command, result.Completed(), result.written, result.withoutPages, result.Completed() ? "" : reason);
    return result.Completed();
}

CommandStatus Work(CommandId command) {
    host::BatchServices& batch = *Host().batch;
    try {
        const host::DocId doc = batch.Document(command);
        if (doc == host::kNoDocument) return CommandStatus::Error;
        Execute(command, doc, batch.Value(command, host::kParams).value_or(Cabinet{}), batch.Progress(command));
        return CommandStatus::Done;
    } catch (const host::HostError& error) {
        batch.Report(command, 2, error.what());
        return CommandStatus::Error;
    }
}

CommandStatus EndState(CommandId command, CommandStatus result) {
    try {
        Host().batch->SetValue(command, host::kCommandState, std::nullopt);
        return result;
    } catch (const host::HostError&) {
        return CommandStatus::Error;
    }
}

CommandStatus Cancel(CommandId command) { return EndState(command, CommandStatus::Cancelled); }
CommandStatus ResetStatus(CommandId command) { return EndState(command, CommandStatus::Ready); }

const host::CommandHandler kHandler{&Initialise, &Terminate, &RegisterGlobally, &Reset,   &SetParams,  &GetParams,
                                    &GetProperties, &ShowDialog, &Work,           &Cancel, &ResetStatus};

}  // namespace

const host::CommandHandler& SplitBatchHandler() { return kHandler; }

void InstallBatchCommand() {
    g_command.defaults.reset();
    g_command.writtenFiles = WrittenFiles();
    if (Host().batch) Host().batch->RegisterHandler(kSplitCommandName, &kHandler);
}

void RemoveBatchCommand() {
    if (Host().batch) Host().batch->UnregisterHandler(kSplitCommandName);
    g_command.defaults.reset();
}

}  // namespace tessera
