#include "ui/CommandLineSettings.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/ProfileFile.h"
#include "access/RegistrySettings.h"
#include "options/CommandOptions.h"
#include "reading/SplitFacts.h"
#include "strings/LanguageTable.h"
#include "strings/Result.h"
#include "strings/TextFormat.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/OutputFolder.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/WindowSplitDialog.h"

namespace tessera {
namespace {

// The output folder as the folder browser would hand it over: without its trailing "/".
std::string BrowsedFolder(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// --save-profile: the settings a split would run with, instead of the split.
void SaveProfile(const std::string& path, const SplitSettings& working) {
    // As the dialog's Save asks before it replaces a file (never the input, which saving refuses).
    host::FileServices& files = *Host().files;
    if (!files.IsRunInput(path) && files.Identity(path) &&
        !Host().windows->AskYesNo("", FormatText(LookupString("IDS_PROFILE_REPLACE_FILE"), {path})))
        return Host().commandLine->ReportOutcome(host::RunOutcome::Cancelled);
    const Result<> saved = SaveProfileFile(path, SettingsForRun(working));
    Host().viewer->Alert(saved ? FormatText(LookupString("IDS_PROFILE_SAVED"), {path}) : saved.Reason());
    Host().commandLine->ReportOutcome(saved ? host::RunOutcome::Done : host::RunOutcome::Failed);
}

// What the window's fields would make of the settings: a base name cleaned
// as its edit cleans one, the usual folder where none is given, only the
// outputs that have ranges.
void TakeAsTheWindowWould(SplitSettings& working) {
    FilenameSettings& naming = working.Filename;
    naming.OutputBaseFilename = CleanBaseFilename(naming.OutputBaseFilename);
    if (naming.OutputFolder.empty()) naming.OutputFolder = DefaultOutputFolder();
    std::erase_if(working.Outputs, [](const OutputDocument& output) { return output.Ranges.empty(); });
}

// The settings as they will run, checked as the window's OK checks them:
// every problem is shown before the run is refused. False after the
// refusal was reported.
bool CheckBeforeRun(SplitSettings& working, const DocumentHandle& document) {
    TakeAsTheWindowWould(working);
    if (working.Security.bPaswordProtect && TrimPasswords(working.Security)) AlertByKey("IDS_PASSWORD_BLANKS_DROPPED");
    const std::vector<SettingsProblem> problems = CheckSettings(working, ReadSplitFacts(document));
    for (const SettingsProblem& problem : problems) Host().viewer->Alert(problem.text);
    if (problems.empty()) return true;
    Host().commandLine->ReportOutcome(host::RunOutcome::UsageError);
    return false;
}

}  // namespace

std::optional<SplitSettings> CommandLineSettings::Run(unsigned pageCount, const DocumentHandle& document) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    SplitSettings working;
    if (commandLine.ReadStoredSettings()) LoadSettingsFromRegistry(working);
    const std::optional<GivenOptions> given = ApplyCommandOptions(working, pageCount);
    if (!given || !CheckBeforeRun(working, document)) return std::nullopt;
    if (!given->saveProfile.empty() && commandLine.DryRun()) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, "--save-profile writes a file, --dry-run nothing");
        return std::nullopt;
    }
    const bool writesOutputs = !commandLine.DryRun() && given->saveProfile.empty();
    if (given->folder) {
        // Only a split makes the folder its outputs go to, and only once the
        // run found nothing in the way (a path too long, an input in the way).
        const std::string folder = BrowsedFolder(working.Filename.OutputFolder);
        HostQuestions ask;
        const FolderCheck check =
            writesOutputs ? ConfirmOutputFolder(folder, ask, false) : CheckOutputFolder(folder, ask);
        if (check != FolderCheck::Valid) {
            commandLine.ReportOutcome(check == FolderCheck::Invalid ? host::RunOutcome::UsageError
                                                                    : host::RunOutcome::Cancelled);
            return std::nullopt;
        }
    }
    if (given->saveProfile.empty()) return working;
    SaveProfile(given->saveProfile, working);
    return std::nullopt;
}

void CommandLineSettings::RunSucceeded(const SplitSettings& working) {
    if (Host().commandLine->StoreSettings()) SaveSettingsToRegistry(working);
}

std::unique_ptr<SplitDialog> ActiveSplitDialog(WindowFactory* windows, DialogMemory& memory) {
    if (windows && Host().commandLine->ShowsWindows()) return std::make_unique<WindowSplitDialog>(*windows, memory);
    return std::make_unique<CommandLineSettings>();
}

}  // namespace tessera
