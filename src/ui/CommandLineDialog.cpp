#include "ui/CommandLineDialog.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/ProfileFile.h"
#include "access/RegistrySettings.h"
#include "analysis/PatternCheck.h"
#include "strings/LanguageTable.h"
#include "strings/Parsed.h"
#include "strings/TextFormat.h"
#include "ui/OutputFolder.h"
#include "ui/SelectionSyntax.h"
#include "ui/MemoryView.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/SplitOptionTable.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

// The output folder as the folder browser would hand it over: without its trailing "/".
std::string BrowsedFolder(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// A selection's ":mark/TEXT/" brings the text; size, transparency and
// placement are those of the watermark options.
void MarkAsTheOptionsSay(PageRange& range, WatermarkStyle style) {
    if (!(range.Options & AddWatermark)) return;
    style.Text = range.Watermark;
    SetWatermark(range, style);
}

// The hand-made outputs: "NAME=SELECTION" or "SELECTION"; a selection's texts
// take the search flags and area of the options.
Parsed<OutputList> ReadDocuments(const std::vector<std::string>& documents, const SplitSettings& working,
                                 unsigned pageCount) {
    TextQuery flags = working.Output.SeparatorQuery;
    flags.Pattern.clear();
    OutputList outputs;
    for (const std::string& document : documents) {
        OutputDocument output;
        const std::size_t eq = document.find('=');
        const bool named = eq != std::string::npos && document.find('/') > eq;
        if (named) output.Filename = document.substr(0, eq);
        // The window's rule: naming would otherwise change such a name without a word.
        if (!output.Filename.empty() && !IsValidCustomName(output.Filename))
            return ParseFailure{"--doc: " + output.Filename + ": " +
                                LookupString("IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY")};
        const std::string selection = named ? document.substr(eq + 1) : document;
        Parsed<std::vector<PageRange>> ranges = ParseSelection(selection, static_cast<int>(pageCount), flags);
        if (!ranges) return ParseFailure{"--doc: " + ranges.Failure()};
        output.Ranges = std::move(*ranges);
        for (PageRange& range : output.Ranges) MarkAsTheOptionsSay(range, working.Output.EveryRangeWatermark);
        outputs.push_back(std::move(output));
    }
    return outputs;
}

ControlId MethodRadio(SplitMethod method) {
    switch (method) {
        case SplitMethod::BookmarkLevels: return kBookmarksRadio;
        case SplitMethod::ManualRanges: return kManualRadio;
        case SplitMethod::SeparatorPages: return kSeparatorRadio;
        default: return kEqualPagesRadio;
    }
}

// The settings of --profile, over the initial or remembered ones.
bool ApplyProfile(const std::string& path, SplitSettings& working) {
    if (path.empty()) return true;
    const std::optional<std::string> failure = LoadProfileFile(path, working);
    if (!failure) return true;
    Host().viewer->Alert(*failure);
    Host().commandLine->ReportOutcome(host::RunOutcome::Refused);
    return false;
}

// --save-profile: the settings a split would run with, instead of the split.
void SaveProfile(const std::string& path, const SplitSettings& working, const OutputList& accepted) {
    // As the dialog's Save asks before it replaces a file (never the input, which saving refuses).
    host::FileServices& files = *Host().files;
    if (!files.IsRunInput(path) && files.Identity(path) &&
        !Host().windows->AskYesNo("", FormatText(LookupString("IDS_PROFILE_REPLACE_FILE"), {path})))
        return Host().commandLine->ReportOutcome(host::RunOutcome::Cancelled);
    SplitSettings settings = SettingsForRun(working);
    settings.Outputs = accepted;
    const std::optional<std::string> failure = SaveProfileFile(path, settings);
    Host().viewer->Alert(failure ? *failure : FormatText(LookupString("IDS_PROFILE_SAVED"), {path}));
    Host().commandLine->ReportOutcome(failure ? host::RunOutcome::Failed : host::RunOutcome::Done);
}

// The settings go into the dialog's controls, the method's radio is chosen and
// the base name typed as a user would, and OK is pressed: what the dialog
// refuses, it says, and every message is shown before the run is refused.
// False after the refusal was reported.
bool PressOk(SplitSettings& working, const DocumentHandle& document, int pageCount, DialogMemory& memory) {
    SplitSettingsDialog dialog(document, pageCount, {.remembersSettings = false, .memory = &memory});
    dialog.ApplySettings(working);
    MemoryView view(dialog);
    view.Click(MethodRadio(working.SplitMode));
    view.Type(kBaseNameEdit, view.Text(kBaseNameEdit));
    bool valid = view.Enabled(kOkButton) ? view.PressOk() : dialog.Validate();
    if (valid && !view.Closed()) {
        // OK stays disabled for what no check names: a bookmark split of a
        // document without bookmarks (said when its radio was chosen) or a
        // separator split whose pages per document are 0.
        if (dialog.Fields().SplitMode != SplitMethod::BookmarkLevels || dialog.HasBookmarks())
            AlertByKey("IDS_SETTINGS_NOT_ACCEPTED");
        valid = false;
    }
    working = dialog.Fields();
    const std::string patternError = InvalidPatternMessage(working, memory.accepted.list);
    if (valid && patternError.empty()) return true;
    Host().commandLine->ReportOutcome(host::RunOutcome::UsageError, patternError);
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
        if (const std::optional<std::string> refused = ApplySplitOption(option, fields)) {
            commandLine.ReportOutcome(host::RunOutcome::UsageError, *refused);
            return std::nullopt;
        }
        given.folder |= option.name == "output-folder";
    }
    Parsed<OutputList> documents = ReadDocuments(fields.documents, working, pageCount);
    if (!documents) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, documents.Failure());
        return std::nullopt;
    }
    // The outputs of --doc replace a profile's list.
    if (!fields.documents.empty()) working.Outputs = std::move(*documents);
    given.any = !options.empty();
    given.saveProfile = fields.saveProfile;
    return given;
}

bool CommandLineDialog::Run(SplitSettings& working, OutputList& accepted, unsigned pageCount,
                            const DocumentHandle& document) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    working = SplitSettings();
    if (commandLine.ReadStoredSettings()) LoadSettingsFromRegistry(working);
    const std::optional<GivenOptions> given = ApplyCommandOptions(working, pageCount);
    if (!given) return false;
    if (!PressOk(working, document, static_cast<int>(pageCount), memory_)) return false;
    accepted = memory_.accepted.list;
    if (!given->saveProfile.empty() && commandLine.DryRun()) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, "--save-profile writes a file, --dry-run nothing");
        return false;
    }
    const bool writesOutputs = !commandLine.DryRun() && given->saveProfile.empty();
    if (given->folder) {
        // Only a split makes the folder its outputs go to, and only once the
        // run found nothing in the way (a path too long, an input in the way).
        const std::string folder = BrowsedFolder(working.Filename.OutputFolder);
        const int check = writesOutputs ? ConfirmOutputFolder(folder, false) : CheckOutputFolder(folder);
        if (check != 0) {
            commandLine.ReportOutcome(check == FolderInvalid ? host::RunOutcome::UsageError : host::RunOutcome::Cancelled);
            return false;
        }
    }
    if (given->saveProfile.empty()) return true;
    SaveProfile(given->saveProfile, working, accepted);
    return false;
}

void CommandLineDialog::RunSucceeded(const SplitSettings& working) {
    if (Host().commandLine->StoreSettings()) SaveSettingsToRegistry(working);
}

std::unique_ptr<SplitDialog> ActiveSplitDialog(WindowFactory* windows, DialogMemory& memory) {
    if (windows && Host().commandLine->ShowsWindows()) return windows->NewSplitWindow(memory);
    return std::make_unique<CommandLineDialog>(memory);
}

}  // namespace tessera
