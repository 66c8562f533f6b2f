#include "shell/SplitBatchCommand.h"

#include "access/Host.h"
#include "access/HostCallback.h"
#include "access/ReadOr.h"
#include "engine/OutputProducer.h"
#include "engine/RunAccount.h"
#include "engine/RunSplit.h"
#include "model/ProfileCabinet.h"
#include "shell/Handshake.h"
#include "shell/PlugInSession.h"
#include "shell/SplitCommand.h"
#include "strings/LanguageTable.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

using host::Cabinet;
using host::CommandId;
using host::CommandStatus;

// Entries of `defaults` that `into` lacks are added, inside nested cabinets
// too; but a text missing from a cabinet that is there was saved empty (saving
// drops empty values), and stays empty as it does in a profile.
void AddMissingEntries(Cabinet& into, const Cabinet& defaults) {
    for (const auto& [key, value] : defaults.Entries()) {
        host::CabinetValue* mine = into.Find(key);
        if (!mine) {
            if (!std::holds_alternative<std::string>(value)) into.Put(key, value);
        } else if (auto* box = std::get_if<host::CabinetBox>(mine);
                   box && std::holds_alternative<host::CabinetBox>(value)) {
            AddMissingEntries(box->Get(), std::get<host::CabinetBox>(value).Get());
        }
    }
}

bool Initialise() {
    return AtHostCallback(false, [] {
        Session().batch.defaults.emplace();
        SaveSettingsToCabinet(SplitSettings(), *Session().batch.defaults);
        return true;
    });
}

void Terminate() { Session().batch.defaults.reset(); }

// The host's registry knows every registered handler by its name already.
void RegisterGlobally() {}

void Reset(CommandId command) { Host().batch->SetValue(command, host::kParams, Cabinet{}); }

void SetParams(CommandId command, const Cabinet& params) {
    Cabinet copy = params;
    if (Session().batch.defaults) AddMissingEntries(copy, *Session().batch.defaults);
    Host().batch->SetValue(command, host::kParams, copy);
    Host().batch->SetValue(command, host::kParamsDesc, std::nullopt);
}

void GetParams(CommandId command, Cabinet& params) {
    params.Clear();
    AtHostCallback([&params](const host::HostError&) { params.Clear(); },
                   [&] { params = Host().batch->Value(command, host::kParams).value_or(Cabinet{}); });
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
    // The parameters' list is the dialog's own: the one the menu's dialog
    // accepted for its document stays as it was. The watermark text carries on.
    DialogMemory memory{{}, Session().dialogs.lastWatermarkText};
    SplitSettingsDialog dialog(noDocument, 0, {.memory = &memory});
    dialog.ApplySettings(settings);
    if (!Windows() || !Windows()->RunModal(dialog)) return false;
    Session().dialogs.lastWatermarkText = memory.lastWatermarkText;
    return ReadOr(false, "settings the parameters cannot hold are not stored", [&] {
        SaveSettingsToCabinet(dialog.Result(), params);
        return true;
    });
}

CommandStatus ShowDialog(CommandId command) {
    return AtHostCallback(CommandStatus::Error, [command] {
        Cabinet params;
        GetParams(command, params);
        if (!EditParameters(params)) return CommandStatus::Cancelled;
        Host().batch->SetValue(command, host::kParams, params);
        return CommandStatus::Ready;
    });
}

std::string PageList(const std::vector<int>& pages) {
    std::string list;
    for (const int page : pages) list += (list.empty() ? "" : ",") + std::to_string(page);
    return list;
}

// Each output as "Path", "Pages" (1-based, comma-separated), "Status"
// (host::OutputStatus), and where there is one its "Key" and the "SizeLimit"
// in bytes (a double: limits pass 2^31), keyed "0", "1"...
Cabinet OutputsCabinet(const std::vector<host::ReportedOutput>& outputs) {
    Cabinet list;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        Cabinet entry;
        entry.Put("Path", outputs[i].path);
        entry.Put("Pages", PageList(outputs[i].pages));
        entry.Put("Status", static_cast<std::int32_t>(outputs[i].status));
        if (!outputs[i].key.empty()) entry.Put("Key", outputs[i].key);
        if (outputs[i].sizeLimit > 0) entry.Put("SizeLimit", static_cast<double>(outputs[i].sizeLimit));
        list.PutCabinet(std::to_string(i), entry);
    }
    return list;
}

// The page account as "Pages", "InOutputs", "InNoOutput" and "EmptyOutputs"
// (comma-separated numbers), "Dropped": "Page", "Reason", "Kind" and "Value"
// keyed "0", "1"..., and "BeyondDocument": "OUTPUT:FIRST-LAST" keyed so.
Cabinet AccountCabinet(const host::PageAccount& account) {
    Cabinet cabinet, dropped;
    cabinet.Put("Pages", static_cast<std::int32_t>(account.pages));
    cabinet.Put("InOutputs", PageList(account.inOutputs));
    cabinet.Put("InNoOutput", PageList(account.inNoOutput));
    cabinet.Put("EmptyOutputs", PageList(account.emptyOutputs));
    for (std::size_t i = 0; i < account.dropped.size(); ++i) {
        const host::DroppedPageEntry& page = account.dropped[i];
        Cabinet entry;
        entry.Put("Page", static_cast<std::int32_t>(page.page));
        entry.Put("Reason", page.reason);
        entry.Put("Kind", page.kind);
        entry.Put("Value", page.value);
        dropped.PutCabinet(std::to_string(i), entry);
    }
    cabinet.PutCabinet("Dropped", dropped);
    Cabinet beyond;
    for (std::size_t i = 0; i < account.beyondDocument.size(); ++i) {
        const host::PagesBeyondDocument& range = account.beyondDocument[i];
        beyond.Put(std::to_string(i),
                   std::to_string(range.output) + ":" + std::to_string(range.first) + "-" + std::to_string(range.last));
    }
    cabinet.PutCabinet("BeyondDocument", beyond);
    return cabinet;
}

void StoreResults(CommandId command, bool completed, std::size_t written, std::size_t withoutPages,
                  const std::string& reason, const std::vector<host::ReportedOutput>& outputs = {},
                  const std::optional<host::PageAccount>& account = std::nullopt) {
    Cabinet results;
    results.PutCabinet("Outputs", OutputsCabinet(outputs));
    if (account) results.PutCabinet("Account", AccountCabinet(*account));
    results.Put("Completed", completed);
    results.Put("Written", static_cast<std::int32_t>(written));
    results.Put("WithoutPages", static_cast<std::int32_t>(withoutPages));
    results.Put("Reason", reason);
    Host().batch->SetValue(command, host::kResults, results);
}

// The document can never be split as it is: a retry is of no use.
void MarkUnsplittable(CommandId command) {
    std::optional<Cabinet> results = Host().batch->Value(command, host::kResults);
    if (!results) return;
    results->Put("Unsplittable", true);
    Host().batch->SetValue(command, host::kResults, *results);
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
        MarkUnsplittable(command);
        return false;
    }
    // The run checks the settings as every route does, and its refusal is the file's line.
    SplitSettings settings = SettingsForRun(loaded);
    const SplitResult result = RunSplit(settings, source, RunContext{&Session().batch.writtenFiles});
    // The file's line says what stopped it when the run knows.
    const std::string reason =
        !result.refusal.empty()
            ? result.refusal
            : LookupString(result.written == 0 ? "IDS_CANT_PROCESS_NOTHING_WRITTEN"
                                               : "IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
    const bool planned = result.writing || result.Completed();
    StoreResults(command, result.Completed(), result.written, result.withoutPages, result.Completed() ? "" : reason,
                 ReportedOutputs(settings, result, source.PageCount()), planned ? result.account : std::nullopt);
    return result.Completed();
}

CommandStatus Work(CommandId command) {
    host::BatchServices& batch = *Host().batch;
    const auto reported = [&](const host::HostError& error) {
        batch.Report(command, 2, error.what());
        return CommandStatus::Error;
    };
    return AtHostCallback(reported, [&] {
        const host::DocId doc = batch.Document(command);
        if (doc == host::kNoDocument) return CommandStatus::Error;
        Execute(command, doc, batch.Value(command, host::kParams).value_or(Cabinet{}), batch.Progress(command));
        return CommandStatus::Done;
    });
}

CommandStatus EndState(CommandId command, CommandStatus result) {
    return AtHostCallback(CommandStatus::Error, [&] {
        Host().batch->SetValue(command, host::kCommandState, std::nullopt);
        return result;
    });
}

CommandStatus Cancel(CommandId command) { return EndState(command, CommandStatus::Cancelled); }
CommandStatus ResetStatus(CommandId command) { return EndState(command, CommandStatus::Ready); }

const host::CommandHandler kHandler{&Initialise, &Terminate, &RegisterGlobally, &Reset,
                                    &SetParams,  &GetParams, &GetProperties,    &ShowDialog,
                                    &Work,       &Cancel,    &ResetStatus};

}  // namespace

const host::CommandHandler& SplitBatchHandler() { return kHandler; }

void InstallBatchCommand() {
    Session().batch.defaults.reset();
    Session().batch.writtenFiles = WrittenFiles();
    if (Host().batch) Host().batch->RegisterHandler(kSplitCommandName, &kHandler);
}

void RemoveBatchCommand() {
    if (Host().batch) Host().batch->UnregisterHandler(kSplitCommandName);
    Session().batch.defaults.reset();
}

}  // namespace tessera
