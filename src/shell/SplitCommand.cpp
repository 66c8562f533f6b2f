#include "shell/SplitCommand.h"

#include "access/AlertByKey.h"
#include "access/DocumentHandle.h"
#include "access/Host.h"
#include "engine/PageAccount.h"
#include "engine/RunAccount.h"
#include "engine/RunSplit.h"
#include "shell/GuardedCommand.h"
#include "shell/Handshake.h"
#include "shell/PlugInSession.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/CommandLineSettings.h"

namespace tessera {
namespace {

using host::RunOutcome;

void Refuse(const std::string& message) {
    Host().viewer->Alert(message);
    Host().commandLine->ReportOutcome(RunOutcome::Refused);
}

// The document checks before the dialog; false after the refusal was shown.
bool DocumentAllowsSplit(const DocumentHandle& document) {
    const Result<> allowed = SplitAllowed(document);
    if (!allowed) Refuse(allowed.Reason());
    return static_cast<bool>(allowed);
}

void ReportPlan(SplitSettings& settings, const DocumentHandle& source) {
    host::PageAccount account;
    const std::optional<std::vector<IndexEntry>> entries = PlanAndName(settings, source, LocalToday(), &account);
    if (!entries && NamesListMismatch(settings)) return Host().commandLine->ReportOutcome(RunOutcome::UsageError);
    if (!entries) {
        AlertByKey("IDS_CANT_PROCESS_NOTHING_WRITTEN");
        Host().commandLine->ReportOutcome(RunOutcome::Failed);
        return;
    }
    Host().commandLine->ReportAccount(account);
    Host().commandLine->ReportPlan(PlannedOutputs(settings, *entries, source.PageCount()));
    Host().commandLine->ReportOutcome(RunOutcome::Done);
}

// "%d" of the key for one, of the plural key for any other count.
std::string CountText(std::size_t count, const char* oneKey, const char* manyKey) {
    return FormatText(LookupString(count == 1 ? oneKey : manyKey), {static_cast<std::int64_t>(count)});
}

// The folder as a user would type it.
std::string ShownFolder(const SplitSettings& settings) {
    const std::string& folder = settings.Filename.OutputFolder;
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// What was written and where, and where every page went (the account names
// the outputs that had no pages).
std::string FinalReport(const SplitSettings& settings, const SplitResult& result) {
    std::string text = settings.Outputs.empty() ? LookupString("IDS_SPLIT_FINAL_REPORT_NO_OUTPUT")
                       : result.written == 0
                           ? LookupString("IDS_SPLIT_FINAL_REPORT_NONE_WRITTEN")
                           : CountText(result.written, "IDS_SPLIT_FINAL_REPORT_ONE", "IDS_SPLIT_FINAL_REPORT");
    if (result.written > 0) text += " " + FormatText(LookupString("IDS_SPLIT_OUTPUT_FOLDER"), {ShownFolder(settings)});
    return result.account ? text + "\n" + AccountSummary(settings, *result.account) : text;
}

// A cancelled run is never "done": what was written stays, the rest was not.
std::string CancelledReport(const SplitSettings& settings, const SplitResult& result) {
    std::string text = FormatText(LookupString("IDS_SPLIT_CANCELLED_REPORT"),
                                  {static_cast<std::int64_t>(result.written),
                                   static_cast<std::int64_t>(settings.Outputs.size()), ShownFolder(settings)});
    if (settings.Output.LinksOtherOutputs()) text += " " + LookupString("IDS_SPLIT_CANCELLED_LINKS");
    return text;
}

// How a run ended, for the dialog that started it.
enum class RunFate { Completed, RefusedBeforeWriting, Ended };

RunFate Run(SplitSettings& settings, const DocumentHandle& source) {
    const SplitResult result = RunSplit(settings, source);
    if ((result.writing || result.Completed()) && result.account) Host().commandLine->ReportAccount(*result.account);
    Host().commandLine->ReportRun(ReportedOutputs(settings, result, source.PageCount()), result.index);
    if (result.end == RunEnd::Cancelled) {
        Host().viewer->Alert(CancelledReport(settings, result));
        Host().commandLine->ReportOutcome(RunOutcome::Cancelled);
        return RunFate::Ended;
    }
    if (result.end == RunEnd::Failed) {
        // A names list of another length was given wrong, and said so.
        if (NamesListMismatch(settings))
            return Host().commandLine->ReportOutcome(RunOutcome::UsageError), RunFate::Ended;
        // Outputs written before the failure stay; a run that wrote none says so.
        AlertByKey(result.written == 0 ? "IDS_CANT_PROCESS_NOTHING_WRITTEN"
                                       : "IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
        Host().commandLine->ReportOutcome(RunOutcome::Failed);
        return result.writing ? RunFate::Ended : RunFate::RefusedBeforeWriting;
    }
    // The account of a completed run is a report, which a quiet run leaves out.
    Host().viewer->AlertReport(FinalReport(settings, result));
    Host().commandLine->ReportOutcome(RunOutcome::Done);
    return RunFate::Completed;
}

// The command's steps; a host error ends them like a failed run.
void SplitSteps() {
    if (Host().viewer->Version().major < 5) return Refuse(LookupString("IDS_BAD_VIEWER_VERSION"));
    const DocumentHandle document(DocumentHandle::ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    if (!DocumentAllowsSplit(document)) return;
    const std::unique_ptr<SplitDialog> dialog = ActiveSplitDialog(Windows(), Session().dialogs);
    // A window comes back after a run it started was refused before it
    // wrote anything (a page over the size limit, a name too long): the
    // user mends the settings there, or cancels.
    for (;;) {
        const std::optional<SplitSettings> working = dialog->Run(static_cast<unsigned>(document.PageCount()), document);
        if (!working) return;
        SplitSettings settings = SettingsForRun(*working);
        if (Host().commandLine->DryRun()) return ReportPlan(settings, document);
        const RunFate fate = Run(settings, document);
        if (fate == RunFate::Completed) dialog->RunSucceeded(*working);
        if (fate != RunFate::RefusedBeforeWriting || !Host().commandLine->ShowsWindows()) return;
    }
}

}  // namespace

Result<> SplitAllowed(const DocumentHandle& document) {
    if (static_cast<unsigned>(document.PageCount()) < 2) return Failure{LookupString("IDS_LESS_THAN_2_PAGES")};
    const auto permissions = document.SecurityPermissions();
    if (permissions && !permissions->Allows(host::Permission::Copy))
        return Failure{LookupString("IDS_SECURITY_NOT_PERMITING")};
    return {};
}

void SplitCommand() { RunGuardedCommand(&SplitSteps, "IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS"); }

}  // namespace tessera
