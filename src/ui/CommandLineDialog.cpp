#include "ui/CommandLineDialog.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/ProfileFile.h"
#include "access/RegistrySettings.h"
#include "reading/SplitFacts.h"
#include "strings/LanguageTable.h"
#include "strings/Result.h"
#include "strings/TextFormat.h"
#include "ui/IdleOptions.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/OutputFolder.h"
#include "ui/SelectionSyntax.h"
#include "ui/SplitOptionTable.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/WindowSplitDialog.h"

namespace tessera {
namespace {

// The output folder as the folder browser would hand it over: without its trailing "/".
std::string BrowsedFolder(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// A selection's ":mark/TEXT/" brings the text; size, transparency and
// placement are those of the watermark options.
void MarkAsTheOptionsSay(PageRange& range, WatermarkStyle style) {
    if (!range.Watermark) return;
    style.Text = range.Watermark->Text;
    SetWatermark(range, style);
}

// The hand-made outputs: "NAME=SELECTION" or "SELECTION"; a selection's texts
// take the search flags and area of the options.
Result<OutputList> ReadDocuments(const std::vector<GivenDocument>& given, const SplitSettings& working,
                                 unsigned pageCount) {
    TextQuery flags = working.Output.SeparatorQuery;
    flags.Pattern.clear();
    OutputList outputs;
    for (const auto& [document, source] : given) {
        OutputDocument output;
        const std::size_t eq = document.find('=');
        const bool named = eq != std::string::npos && document.find('/') > eq;
        if (named) output.Filename = document.substr(0, eq);
        // The window's rule: naming would otherwise change such a name without a word.
        if (!output.Filename.empty() && !IsValidCustomName(output.Filename))
            return Failure{"--doc: " + output.Filename + ": " + LookupString("IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY")};
        const std::string selection = named ? document.substr(eq + 1) : document;
        Result<std::vector<PageRange>> ranges = ParseSelection(selection, static_cast<int>(pageCount), flags);
        if (!ranges) return Failure{source + ": " + ranges.Reason()};
        output.Ranges = std::move(*ranges);
        for (PageRange& range : output.Ranges) MarkAsTheOptionsSay(range, working.Output.EveryRangeWatermark);
        outputs.push_back(std::move(output));
    }
    return outputs;
}

// The settings of --profile, over the initial or remembered ones.
bool ApplyProfile(const std::string& path, SplitSettings& working) {
    if (path.empty()) return true;
    const Result<> loaded = LoadProfileFile(path, working);
    if (loaded) return true;
    Host().viewer->Alert(loaded.Reason());
    Host().commandLine->ReportOutcome(host::RunOutcome::Refused);
    return false;
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

std::optional<GivenOptions> ApplyCommandOptions(SplitSettings& working, unsigned pageCount) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    const std::vector<host::OptionValue> options = commandLine.SplitOptions();
    if (!ApplyProfile(ProfileToLoad(options), working)) return std::nullopt;
    GivenOptions given;
    DialogFields fields{working, {}, {}, {}};
    for (const host::OptionValue& option : options) {
        if (const Result<> applied = ApplySplitOption(option, fields); !applied) {
            commandLine.ReportOutcome(host::RunOutcome::UsageError, applied.Reason());
            return std::nullopt;
        }
        given.folder |= option.name == "output-folder";
    }
    if (fields.sizeLimitGiven && fields.methodOption.empty() && ProfileToLoad(options).empty())
        working.SplitMode = SplitMethod::BySize;
    Result<OutputList> documents = ReadDocuments(fields.documents, working, pageCount);
    if (!documents) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, documents.Reason());
        return std::nullopt;
    }
    // The outputs of --doc replace a profile's list.
    if (!fields.documents.empty()) working.Outputs = std::move(*documents);
    if (const std::optional<std::string> idle = IdleOptionRefusal(options, working)) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, *idle);
        return std::nullopt;
    }
    given.any = !options.empty();
    given.saveProfile = fields.saveProfile;
    return given;
}

std::optional<SplitSettings> CommandLineDialog::Run(unsigned pageCount, const DocumentHandle& document) {
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

void CommandLineDialog::RunSucceeded(const SplitSettings& working) {
    if (Host().commandLine->StoreSettings()) SaveSettingsToRegistry(working);
}

std::unique_ptr<SplitDialog> ActiveSplitDialog(WindowFactory* windows, DialogMemory& memory) {
    if (windows && Host().commandLine->ShowsWindows()) return std::make_unique<WindowSplitDialog>(*windows, memory);
    return std::make_unique<CommandLineDialog>();
}

}  // namespace tessera
